#include "source/menu/menu_state.h"

namespace {
MenuState state;
}  // namespace

MenuState& menuState() {
  return state;
}
