// The point icons both lists show and the edit dialog previews: icon number k is image k - 1
// of two image lists, 16 x 16 for the rows and 32 x 32 for the preview at 96 DPI, scaled by
// the main window's DPI. The main window keeps one PointIcons for its life (and fills it
// again when its DPI changes); the lists and dialogs only borrow the image lists.
#pragma once

#include <string>

#include "framework/controls.h"
#include "framework/display_scale.h"

class PointIcons {
 public:
  // Fills both lists from the files "mark01.ico" to "mark55.ico". Each is looked up in the
  // current directory first: users keep their own sets of pictures with their point files.
  // One missing there is taken from `programFolder` (the installed set beside the program),
  // since a file opened from Explorer makes its own folder the current one. A file found in
  // neither, or unreadable, takes the built-in picture, so that image k always stays icon
  // number k + 1.
  // At 96 DPI both lists draw each file's first picture, as LoadImage would take it; at any
  // other scale each list draws the picture that suits its own size.
  void LoadPointIcons(const std::wstring& programFolder, DisplayScale scale);

  const ImageList& Small() const { return m_smallIcons; }
  const ImageList& Large() const { return m_largeIcons; }

 private:
  ImageList m_smallIcons;
  ImageList m_largeIcons;
};
