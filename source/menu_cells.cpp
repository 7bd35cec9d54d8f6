#include "source/menu_cells.h"

namespace menu_cells {

objc::Imp hostCellLayoutSubviews;

void cellLayoutSubviews(UICollectionViewCell* self, SEL cmd) {
  hostCellLayoutSubviews.call<void>(self, cmd);
}

void adjustFramesForSubviews(UICollectionViewCell*, SEL) {}
void updateLabelColors(UICollectionViewCell*, SEL) {}

}  // namespace menu_cells
