// FileHistory: undo and redo for the main window. It joins the portable EditHistory with the
// open file and its point list: a change is recorded by a Change scope that the command
// opens around its work, and an undo or redo puts the file back byte for byte and the list
// as it was, rows, selection, focus and scroll position.
//
//   {
//     FileHistory::Change change(m_history);
//     ... change m_pointFile and the rows ...
//   }  // one step, when the file's image changed
#pragma once

#include <optional>

#include "app/history/edit_history.h"

class PointFile;
class PointListView;

// Told of every change of the open file's content: a step recorded, undone or redone, and a
// file opened (a fresh history), so that what is judged against the file follows it.
class FileChangeListener {
 public:
  virtual void OpenFileChanged() = 0;

 protected:
  ~FileChangeListener() = default;
};

class FileHistory {
 public:
  FileHistory(PointFile& file, PointListView& list) : m_file(file), m_list(list) {}

  // One change of the open file, from the scope's start to its end. Scopes may nest (a
  // command whose parts are commands too): only the outermost records, so the whole is
  // one step. A scope in which the image stays the same records nothing.
  class Change {
   public:
    explicit Change(FileHistory& history);
    ~Change();
    Change(const Change&) = delete;
    Change& operator=(const Change&) = delete;

   private:
    FileHistory& m_history;
    std::optional<PointFile> m_before;  // only in the outermost scope
    ListState m_beforeList;
  };

  void SetListener(FileChangeListener* listener) { m_listener = listener; }

  // A file was opened (or failed to): a fresh history, the present state saved.
  void Reset() {
    m_steps.Reset();
    Tell();
  }
  // The file was written: the present state is what the disk holds.
  void MarkSaved() { m_steps.MarkSaved(); }
  bool CanUndo() const { return m_steps.CanUndo(); }
  bool CanRedo() const { return m_steps.CanRedo(); }
  // Each puts back one step; false when there was none. The caller updates the status.
  bool Undo();
  bool Redo();

  const EditHistory& Steps() const { return m_steps; }

 private:
  ListState CurrentListState() const;
  void Tell() const {
    if (m_listener) m_listener->OpenFileChanged();
  }
  // The file and the list as `state` has them; the modified flag follows the saved state.
  void Restore(const FileState& state);

  PointFile& m_file;
  PointListView& m_list;
  EditHistory m_steps;
  int m_openScopes = 0;
  FileChangeListener* m_listener = nullptr;
};
