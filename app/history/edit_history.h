// EditHistory: the undo and redo steps of the open file, without any window. A step is the
// file before and after one change, each with what the list showed (selection, focus, top
// row), so that going back or forth restores both exactly. The history also knows which of
// its states was last saved, so that the file counts as unmodified exactly there.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include "pointfile/point_file.h"

// What the point list showed with a state of the file.
struct ListState {
  std::vector<int> selected;  // ascending
  int focused = -1;
  int topRow = 0;
  bool operator==(const ListState&) const = default;
};

// One state to return to: the whole file and its list.
struct FileState {
  std::shared_ptr<const PointFile> file;
  ListState list;
};

class EditHistory {
 public:
  static constexpr std::size_t kDefaultSteps = 100;
  explicit EditHistory(std::size_t maxSteps = kDefaultSteps) : m_maxSteps(maxSteps) {}

  // A fresh history whose present state is the saved one (a file opened).
  void Reset();
  // Records one change from `before` to `after`. The steps that could be redone are dropped;
  // beyond the limit the oldest step goes. A file equal to the previous step's result shares
  // its image, so a step usually costs one image.
  void Record(const PointFile& before, const ListState& beforeList, const PointFile& after,
              const ListState& afterList);

  bool CanUndo() const { return m_position > 0; }
  bool CanRedo() const { return m_position < m_steps.size(); }
  // The state to restore, and the history moved one step; nothing when there is none.
  std::optional<FileState> Undo();
  std::optional<FileState> Redo();

  // The present state is what the file on disk now holds.
  void MarkSaved() { m_savedPosition = m_position; }
  // True unless the present state is the one last saved or opened.
  bool IsModified() const { return m_savedPosition != m_position; }

  std::size_t StepCount() const { return m_steps.size(); }
  std::size_t MaxSteps() const { return m_maxSteps; }
  // The bytes the steps hold (images counted once however many steps share them).
  std::size_t MemoryBytes() const;

 private:
  struct Step {
    FileState before;
    FileState after;
  };

  std::size_t m_maxSteps;
  std::deque<Step> m_steps;
  std::size_t m_position = 0;  // steps applied: m_steps[m_position - 1] is the last done
  // The position of the saved state; none once that state has left the history.
  std::optional<std::size_t> m_savedPosition = 0;
};
