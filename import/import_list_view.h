// The import list (control 1024): a second point file shown beside the open one, whose
// rows are dragged into the point list. For now it only shows; the transfer comes later.
#pragma once

#include "pointfile/point_file.h"
#include "app/point_list_view.h"

class ImportListView : public PointListCtrl {
 public:
  PointFile& SourceFile() { return m_sourceFile; }

 private:
  PointFile m_sourceFile;
};
