// The history against a reference model: random runs of changes, undos, redos and saves,
// with the states each undo and redo gives back compared with a plain list of the states.
#include "app/history/edit_history.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

struct ModelState {
  PointFile file;
  ListState list;
};

// The reference: every state from the oldest reachable one, where each step's own
// "before" list state is kept beside it (the selection may change between steps).
struct Model {
  struct Step {
    ModelState before, after;
  };
  std::vector<Step> steps;
  std::size_t position = 0;
  long saved = 0;  // -1: unreachable
};

void ExpectSame(const std::optional<FileState>& got, const ModelState& want, int op) {
  ASSERT_TRUE(got) << "op " << op;
  EXPECT_TRUE(got->file->Image() == want.file.Image()) << "op " << op;
  EXPECT_EQ(got->file->GetPointCount(), want.file.GetPointCount()) << "op " << op;
  EXPECT_EQ(got->list, want.list) << "op " << op;
}

void RunRandom(std::size_t maxSteps, unsigned seed, int operations) {
  std::mt19937 random(seed);
  EditHistory history(maxSteps);
  Model model;
  ModelState present;  // what the editor shows
  for (int op = 0; op < operations; ++op) {
    switch (random() % 6) {
      case 0:
      case 1:
      case 2: {  // a change: a point added, renamed or removed, with the list moved about
        ModelState before = present;
        before.list = {{static_cast<int>(random() % 250)}, static_cast<int>(random() % 250), static_cast<int>(random() % 200)};
        ModelState after = before;
        const int count = after.file.GetPointCount();
        if (count > 0 && random() % 3 == 0) {
          after.file.DeleteRecord(static_cast<int>(random() % count));
        } else if (count > 0 && random() % 2 == 0) {
          after.file.SetName(static_cast<int>(random() % count), "N" + std::to_string(random() % 1000));
        } else if (after.file.InsertRecord(count > 0 ? static_cast<int>(random() % count) : 0) < 0) {
          break;
        }
        after.list = {{1, 2}, 2, static_cast<int>(random() % 200)};
        history.Record(before.file, before.list, after.file, after.list);
        model.steps.resize(model.position);
        if (model.saved > static_cast<long>(model.position)) model.saved = -1;
        model.steps.push_back({before, after});
        ++model.position;
        if (model.steps.size() > maxSteps) {
          model.steps.erase(model.steps.begin());
          --model.position;
          model.saved = model.saved > 0 ? model.saved - 1 : -1;
        }
        present = after;
        break;
      }
      case 3:
        if (model.position == 0) {
          EXPECT_FALSE(history.Undo()) << "op " << op;
          break;
        }
        present = model.steps[--model.position].before;
        ExpectSame(history.Undo(), present, op);
        break;
      case 4:
        if (model.position == model.steps.size()) {
          EXPECT_FALSE(history.Redo()) << "op " << op;
          break;
        }
        present = model.steps[model.position++].after;
        ExpectSame(history.Redo(), present, op);
        break;
      case 5:
        // Only a save that succeeded marks the state; one that failed leaves the mark.
        if (random() % 2) {
          history.MarkSaved();
          model.saved = static_cast<long>(model.position);
        }
        break;
    }
    ASSERT_EQ(history.CanUndo(), model.position > 0) << "op " << op;
    ASSERT_EQ(history.CanRedo(), model.position < model.steps.size()) << "op " << op;
    ASSERT_EQ(history.IsModified(), model.saved != static_cast<long>(model.position)) << "op " << op;
    ASSERT_LE(history.StepCount(), maxSteps);
  }
}

TEST(EditHistoryTest, RandomRunsMatchTheReference) {
  for (unsigned seed = 1; seed <= 6; ++seed) {
    SCOPED_TRACE(seed);
    RunRandom(seed % 2 ? 4 : EditHistory::kDefaultSteps, seed, 1000);
  }
}

TEST(EditHistoryTest, KeepsAHundredStepsAndSharesImagesBetweenSteps) {
  EditHistory history;
  PointFile file;
  for (int i = 0; i < 120; ++i) {
    const PointFile before = file;
    file.InsertRecord(0);
    history.Record(before, {}, file, {});
  }
  EXPECT_EQ(history.StepCount(), 100u);
  // One image per step and one more for the oldest state, not two per step.
  EXPECT_LT(history.MemoryBytes(), 102 * sizeof(PointFile));
  int undone = 0;
  while (history.Undo()) ++undone;
  EXPECT_EQ(undone, 100);
  // The state opened has left the history: no state is unmodified any more.
  EXPECT_TRUE(history.IsModified());
}

TEST(EditHistoryTest, UndoingToTheSavedStateClearsModifiedAndANewChangeLosesTheRedoSteps) {
  EditHistory history;
  PointFile a, b, c;
  b.InsertRecord(0);
  c.InsertRecord(0);
  c.InsertRecord(0);
  history.Record(a, {}, b, {});
  history.MarkSaved();
  history.Record(b, {}, c, {});
  EXPECT_TRUE(history.IsModified());
  history.Undo();
  EXPECT_FALSE(history.IsModified());
  history.Undo();
  EXPECT_TRUE(history.IsModified());
  // A change here drops the saved state, which lay ahead.
  history.Record(a, {}, c, {});
  EXPECT_FALSE(history.CanRedo());
  history.Undo();
  EXPECT_TRUE(history.IsModified());
}

}  // namespace
