// A message send through the runtime against the C++ virtual call it stands in for, measured
// in the same run. Run: build/release/bin/runtime_bench
#include <benchmark/benchmark.h>

#include "platform/runtime/runtime.h"

namespace {

struct Shape : objc::Object {
  virtual double area() const { return side * side; }
  double side = 2.0;
};
struct Square final : Shape {
  double area() const override { return side * side + 1.0; }
};

objc::Class* squareClass() {
  static objc::Class* cls = [] {
    objc::defineClass<Shape, void>("BenchShape");
    objc::Class* square = objc::defineClass<Square, Shape>("BenchSquare");
    objc::addMethod(objc::classOf<Shape>(), "area",
                    [](Shape* self, SEL) { return self->side * self->side; });
    objc::addMethod(square, "area", [](Shape* self, SEL) { return self->side * self->side + 1.0; });
    objc::addMethod(square, "scaledBy:", [](Shape* self, SEL, Shape* other) -> objc::Ref<Shape> {
      return other ? objc::Ref<Shape>(other) : objc::Ref<Shape>(self);
    });
    return square;
  }();
  return cls;
}

// Defeats devirtualisation: the optimiser cannot see which Shape this is.
Shape* opaque(Shape* shape) {
  benchmark::DoNotOptimize(shape);
  return shape;
}

void VirtualCall(benchmark::State& state) {
  squareClass();
  auto square = objc::make<Square>();
  Shape* shape = opaque(square.get());
  for (auto _ : state) {
    benchmark::DoNotOptimize(shape->area());
  }
}
BENCHMARK(VirtualCall);

void CachedMessageSend(benchmark::State& state) {
  squareClass();
  auto square = objc::make<Square>();
  Shape* shape = opaque(square.get());
  SEL area = objc::sel("area");
  for (auto _ : state) {
    benchmark::DoNotOptimize(objc::msgSend<double>(shape, area));
  }
}
BENCHMARK(CachedMessageSend);

void CachedMessageSendWithObjects(benchmark::State& state) {
  squareClass();
  auto square = objc::make<Square>();
  Shape* shape = opaque(square.get());
  SEL scaled = objc::sel("scaledBy:");
  for (auto _ : state) {
    benchmark::DoNotOptimize(objc::msgSend<objc::Ref<Shape>>(shape, scaled, shape));
  }
}
BENCHMARK(CachedMessageSendWithObjects);

}  // namespace

BENCHMARK_MAIN();
