// The chain of font loaders tried in turn by LoadFont; the TrueType loader is always in it.
// Depends on draw/state.h and draw/freetype_font.h.
#include "draw/freetype_font.h"
#include "draw/state.h"

void RegisterFontLoader(const std::shared_ptr<TFontLoader>& loader) {
  auto& head = draw_state.fonts.loaders;
  loader->_succ = head;
  head = loader;
}

std::shared_ptr<TFont> LoadFont(const std::string& source, int size, int style) {
  if (!draw_state.fonts.loaders) RegisterFontLoader(std::make_shared<TFreeTypeFontLoader>());
  for (auto loader = draw_state.fonts.loaders; loader; loader = loader->_succ) {
    if (auto font = loader->LoadFont(source, size, style)) return font;
  }
  return nullptr;
}
