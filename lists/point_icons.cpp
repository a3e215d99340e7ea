#include "lists/point_icons.h"

#include <array>
#include <cwchar>
#include <utility>

#include "lists/point_text_row.h"
#include "resources/resource.h"

namespace {

constexpr int kIconListInitial = 4;
constexpr int kIconListGrowth = 4;

// Icon `number`'s file: the one in the current directory, else the one in `programFolder`;
// the plain name when neither exists, which then loads as a missing file always has.
std::wstring PointIconFile(int number, const std::wstring& programFolder) {
  wchar_t name[16];
  std::swprintf(name, 16, L"mark%02d.ico", number);
  if (::GetFileAttributesW(name) != INVALID_FILE_ATTRIBUTES) return name;
  std::wstring beside = programFolder + name;
  if (::GetFileAttributesW(beside.c_str()) != INVALID_FILE_ATTRIBUTES) return beside;
  return name;
}

}  // namespace

void PointIcons::LoadPointIcons(const std::wstring& programFolder) {
  // A plain picture is drawn from the file's bytes; any other file is loaded as an icon, as it
  // always was.
  std::array<IconFilePicture, kPointIconCount> pictures;
  std::array<HICON, kPointIconCount> loaded{};
  for (int n = 1; n <= kPointIconCount; ++n) {
    const std::wstring file = PointIconFile(n, programFolder);
    if (!pictures[n - 1].Read(file.c_str()))
      loaded[n - 1] = static_cast<HICON>(::LoadImageW(nullptr, file.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
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
