// What the two point lists need of the window that holds them. The main window is the
// only real one; a test gives the lists a small one of its own, so that either list can be
// created and driven without a whole main window.
#pragma once

#include <windows.h>

#include "framework/controls.h"

class FileStore;
class MessageSink;
class PointFile;

class PointListHost {
 public:
  // The open file, whose points the point list shows and moves.
  virtual PointFile& Points() = 0;
  // The point icons both lists show (image k is icon number k + 1). They belong to the
  // host; the lists never destroy them.
  virtual const ImageList& SmallIcons() const = 0;
  virtual const ImageList& LargeIcons() const = 0;
  // The point list's window rectangle, in screen coordinates.
  virtual RECT GetPointListRect() const = 0;
  // The row of the point list under a point in screen coordinates, or -1 when the point
  // lies on no row.
  virtual int PointListRowAt(POINT screen) const = 0;
  // Copies the rows selected in the import list into the open file in front of row
  // `dropRow` of the point list; a negative row means after the last one.
  virtual void TransferPoints(int dropRow) = 0;
  // How files are read and how the user is told what went wrong with them.
  virtual FileStore& Files() = 0;
  virtual MessageSink& Messages() = 0;

 protected:
  ~PointListHost() = default;
};
