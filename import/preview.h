// The preview of a source on the import screen, which needs no window: each row of the source
// judged against the open file and the unit before anything is copied (a duplicate of a point
// the open file holds, a point the unit cannot take, a text cut to fit its field), the summary
// the status bar shows, and the sorting of the rows a drag carries.
#pragma once

#include <span>
#include <string>
#include <vector>

class PointFile;

// What reading an interchange source knew of a row beyond what its slot holds.
struct SourceRowFacts {
  // false: the file gave no position the slot can hold (none at all, or one west or south of
  // the zero lines); the slot's coordinates then mean nothing and the list shows none.
  bool positionHeld = true;
  bool shortened = false;  // a text was cut to fit its field
};

// What the preview makes of one row.
struct RowVerdict {
  bool point = false;        // the row holds a point (false: a gap in a point file)
  bool cannotStore = false;  // no position, or one outside the unit's area
  bool duplicate = false;    // the same place as a point of the open file; never with cannotStore
  bool shortened = false;
  bool operator==(const RowVerdict&) const = default;
};

// Judges the first `rows` rows of `source` (row i is slot i) against `open` by the duplicate
// rule and the unit's area. `facts` holds an entry per row of an interchange source; it is
// empty for a point file, whose rows all hold their positions and whose texts are as stored.
std::vector<RowVerdict> JudgeSourceRows(const PointFile& source, int rows, std::span<const SourceRowFacts> facts,
                                        const PointFile& open);

struct PreviewCounts {
  int points = 0, duplicates = 0, cannotStore = 0, shortened = 0;
  bool operator==(const PreviewCounts&) const = default;
};
PreviewCounts CountVerdicts(std::span<const RowVerdict> verdicts);

// The status bar's summary (Shift_JIS): "インポート 12地点: 重複 3, 登録不可 1, 短縮 2", each
// count of 0 left out, and the colon with them when all are.
std::string PreviewSummaryText(const PreviewCounts& counts);

// The rows of a drag, in ascending order, as the transfer takes them.
struct DraggedRows {
  std::vector<int> storable;  // every dragged point the unit can take
  std::vector<int> fresh;     // those of them that are no duplicate
  int cannotStore = 0;        // dragged points left out
  int Duplicates() const { return static_cast<int>(storable.size() - fresh.size()); }
};
// `selected` is ascending; rows without a point are left out of every part.
DraggedRows SortDraggedRows(std::span<const RowVerdict> verdicts, std::span<const int> selected);

// The question when a drag carries duplicates (Yes: all, No: only the fresh ones, Cancel:
// nothing), and the message when it carries nothing the unit can take.
std::string DuplicateQuestionText(int duplicates);
inline constexpr char kNothingStorableText[] =
    "ドラッグした地点はどれも登録できません。\n"
    "位置がないか、登録できる範囲 (経度 122～146 度、緯度 24～45 度) の外にあります。\n"
    "何も追加しませんでした。";
