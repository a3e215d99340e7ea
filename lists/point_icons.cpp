#include "lists/point_icons.h"

#include <array>
#include <cwchar>
#include <string>
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

// The pictures of the 55 icon files for one size. A plain picture is drawn from the file's
// bytes; any other file is loaded as an icon, as it always was (LoadImage choosing the image
// nearest the size, when one is asked for).
class PointIconFiles {
 public:
  explicit PointIconFiles(const std::wstring& programFolder) {
    for (int n = 1; n <= kPointIconCount; ++n) m_paths[n - 1] = PointIconFile(n, programFolder);
  }
  ~PointIconFiles() { ReleaseIcons(); }

  // `size` 0: each file's first picture.
  void Read(int size) {
    ReleaseIcons();
    for (int i = 0; i < kPointIconCount; ++i) {
      const wchar_t* path = m_paths[i].c_str();
      if (!m_pictures[i].Read(path, size))
        m_loaded[i] = static_cast<HICON>(::LoadImageW(nullptr, path, IMAGE_ICON, size, size, LR_LOADFROMFILE));
    }
  }

  // Picture i, or `missing` for a file that gave none.
  StripPicture Shown(int i, HICON missing) const {
    if (m_pictures[i].Ok()) return &m_pictures[i];
    return m_loaded[i] ? m_loaded[i] : missing;
  }

 private:
  void ReleaseIcons() {
    for (HICON& icon : m_loaded) {
      if (icon) ::DestroyIcon(icon);
      icon = nullptr;
    }
  }

  std::array<std::wstring, kPointIconCount> m_paths;
  std::array<IconFilePicture, kPointIconCount> m_pictures;
  std::array<HICON, kPointIconCount> m_loaded{};
};

}  // namespace

void PointIcons::LoadPointIcons(const std::wstring& programFolder, DisplayScale scale) {
  PointIconFiles files(programFolder);
  for (auto [list, size96] : {std::pair{&m_largeIcons, 32}, std::pair{&m_smallIcons, 16}}) {
    const int size = scale.Pixels(size96);
    // At 96 DPI both lists scale the files' first pictures, read once.
    const int pictureSize = scale == DisplayScale() ? 0 : size;
    if (list == &m_largeIcons || pictureSize != 0) files.Read(pictureSize);
    list->Create(size, size, ILC_COLOR32 | ILC_MASK, kIconListInitial, kIconListGrowth);
    // The built-in picture is taken at the list's own size; the loaded ones are scaled to it.
    HICON missing = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MISSING_POINT),
                                                    IMAGE_ICON, size, size, 0));
    std::array<StripPicture, kPointIconCount> shown;
    for (int i = 0; i < kPointIconCount; ++i) shown[i] = files.Shown(i, missing);
    list->AddIcons(shown);
    if (missing) ::DestroyIcon(missing);
  }
}
