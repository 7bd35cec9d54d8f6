#include "platform/uikit/ca_layer.h"

#include <algorithm>

CALayer::~CALayer() {
  for (const auto& sublayer : sublayers_)
    sublayer->superlayer_ = nullptr;
}

void CALayer::addSublayer(Ref<CALayer> layer) {
  insertSublayer(std::move(layer), SIZE_MAX);
}

void CALayer::insertSublayer(Ref<CALayer> layer, size_t index) {
  // A layer cannot hold itself or one of its ancestors: that would be a cycle.
  for (const CALayer* ancestor = this; ancestor; ancestor = ancestor->superlayer_) {
    if (ancestor == layer.get()) return;
  }
  if (!layer) return;
  layer->removeFromSuperlayer();
  layer->superlayer_ = this;
  sublayers_.insert(sublayers_.begin() + std::min(index, sublayers_.size()), std::move(layer));
}

void CALayer::removeFromSuperlayer() {
  if (!superlayer_) return;
  Ref<CALayer> keepAlive(this);
  std::erase(superlayer_->sublayers_, keepAlive);
  superlayer_ = nullptr;
}
