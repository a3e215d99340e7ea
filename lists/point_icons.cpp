#include "lists/point_icons.h"

#include <array>
#include <cwchar>
#include <utility>

#include "lists/point_text_row.h"
#include "resources/resource.h"

namespace {

constexpr int kIconListInitial = 4;
constexpr int kIconListGrowth = 4;

}  // namespace

void PointIcons::LoadPointIcons() {
  // A plain picture is drawn from the file's bytes; any other file is loaded as an icon, as it
  // always was.
  std::array<IconFilePicture, kPointIconCount> pictures;
  std::array<HICON, kPointIconCount> loaded{};
  for (int n = 1; n <= kPointIconCount; ++n) {
    wchar_t name[16];
    std::swprintf(name, 16, L"mark%02d.ico", n);
    if (!pictures[n - 1].Read(name))
      loaded[n - 1] = static_cast<HICON>(::LoadImageW(nullptr, name, IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
  }
  for (auto [list, size] : {std::pair{&m_largeIcons, 32}, std::pair{&m_smallIcons, 16}}) {
    list->Create(size, size, ILC_COLOR32 | ILC_MASK, kIconListInitial, kIconListGrowth);
    // The built-in picture is taken at the list's own size; the loaded ones are scaled to it.
    HICON missing = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MISSING_POINT),
                                                    IMAGE_ICON, size, size, 0));
    std::array<StripPicture, kPointIconCount> shown;
    for (int i = 0; i < kPointIconCount; ++i) {
      if (pictures[i].Ok())
        shown[i] = &pictures[i];
      else
        shown[i] = loaded[i] ? loaded[i] : missing;
    }
    list->AddIcons(shown);
    if (missing) ::DestroyIcon(missing);
  }
  for (HICON icon : loaded) {
    if (icon) ::DestroyIcon(icon);
  }
}
