// Inserting, deleting, copying and moving whole points. Each point of a test file carries a
// letter as its longitude, so the order of the table reads as a word: "A*BC" is A, a fresh
// point, B and C; "AB.S" has an empty slot before S.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "pointfile/point_file.h"
#include "pointfile/point_insertion.h"
#include "pointfile/text_forms.h"
#include "pointfile/testing/point_images.h"

namespace {

using R = PointRecord;

Image ImageOfLetters(const std::string& layout) {
  Image image = EmptyImage();
  for (std::size_t slot = 0; slot < layout.size(); ++slot) {
    if (layout[slot] != '.') PutPoint(image, static_cast<int>(slot), static_cast<std::uint8_t>(layout[slot]));
  }
  return image;
}

// The letters of the used slots up to the last used one; '*' for a fresh point.
std::string Layout(const PointFile& file) {
  std::string layout;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    if (!file.IsUsed(slot)) {
      layout += '.';
    } else {
      const std::uint32_t id = file.GetLongitude(slot);
      layout += id == 0 ? '*' : static_cast<char>(id);
    }
  }
  return layout.substr(0, layout.find_last_not_of('.') + 1);
}

bool IsZero(const Image& bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

// A fresh point: in use, created flag, icon 1, today's stamp, every other byte zero.
void ExpectFresh(const PointFile& file, int slot) {
  Image expected(R::kEncodedLength, 0);
  PutBigEndian32(expected.data() + R::kInUse, 1);
  PutBigEndian16(expected.data() + R::kFlagWord, R::kFlagCreated);
  expected[R::kIcon] = 1;
  Image actual = SlotOf(file, slot);
  // The clock is checked by the text form tests; here only that a stamp was written.
  EXPECT_NE(actual[R::kMonth], 0);
  EXPECT_NE(actual[R::kDay], 0);
  std::fill(actual.begin() + R::kHour, actual.begin() + R::kDay + 1, 0);
  EXPECT_EQ(actual, expected) << "slot " << slot;
}

TEST(InitRecord, MakesAFreshPointWithTodaysStamp) {
  PointFile file = Loaded(ImageOfLetters("A"));
  const std::uint32_t before = CurrentDate();
  file.InitRecord(0);
  const std::uint32_t after = CurrentDate();
  ExpectFresh(file, 0);
  EXPECT_EQ(file.GetIconText(0), "01");
  EXPECT_EQ(file.GetChecksum(0), 0u);
  auto text = [](std::uint32_t d) { return FormatDateText(d >> 16, (d >> 8) & 0xFF, d & 0xFF); };
  EXPECT_TRUE(file.GetDateText(0) == text(before) || file.GetDateText(0) == text(after));
  EXPECT_TRUE(file.IsModified());
}

TEST(InsertRecord, OpensAFreshPointAndMovesTheRestDown) {
  const Image original = ImageOfLetters("ABC");
  PointFile file = Loaded(original);
  EXPECT_EQ(file.InsertRecord(1), 1);
  EXPECT_EQ(Layout(file), "A*BC");
  ExpectFresh(file, 1);
  EXPECT_EQ(SlotOf(file, 2), SlotOf(original, 1));
  EXPECT_EQ(SlotOf(file, 3), SlotOf(original, 2));
  EXPECT_EQ(file.GetPointCount(), 4);
  EXPECT_TRUE(file.IsModified());

  EXPECT_EQ(file.InsertRecord(4), 1);  // at the end
  EXPECT_EQ(Layout(file), "A*BC*");
  EXPECT_EQ(file.InsertRecord(0), 1);
  EXPECT_EQ(Layout(file), "*A*BC*");
}

TEST(InsertRecord, PastTheEndMovesNothing) {
  PointFile file = Loaded(ImageOfLetters("ABC"));
  EXPECT_EQ(file.InsertRecord(7), 1);
  EXPECT_EQ(Layout(file), "ABC....*");
  EXPECT_EQ(file.GetPointCount(), 4);
}

TEST(InsertRecord, FillsTheTableToItsLastSlot) {
  const Image original = ImageWithPoints(249);
  PointFile file = Loaded(original);
  EXPECT_EQ(file.InsertRecord(0), 1);
  EXPECT_EQ(file.CountPoints(), 250);
  EXPECT_EQ(SlotOf(file, 249), SlotOf(original, 248));
}

TEST(InsertRecord, RefusesAndChangesNothing) {
  struct Case {
    const char* what;
    Image image;
    int slot;
  };
  const Case cases[] = {
      {"full table", ImageWithPoints(250), 0},
      {"full table, last slot", ImageWithPoints(250), 249},
      {"slot past the table", ImageWithPoints(3), 250},
      {"negative slot", ImageWithPoints(3), -1},
      {"stray point in the slot", ImageOfLetters("AB..S"), 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PointFile file = Loaded(c.image);
    const int count = file.GetPointCount();
    EXPECT_EQ(file.InsertRecord(c.slot), -1);
    EXPECT_EQ(ImageOf(file), c.image);
    EXPECT_EQ(file.GetPointCount(), count);
    EXPECT_FALSE(file.IsModified());
  }
}

TEST(DeleteRecord, MovesTheLaterPointsUpAndClearsTheLastSlot) {
  const Image original = ImageOfLetters("ABC");
  PointFile last = Loaded(original);
  last.DeleteRecord(2);
  EXPECT_EQ(Layout(last), "AB");
  EXPECT_TRUE(IsZero(SlotOf(last, 2)));
  EXPECT_EQ(SlotOf(last, 1), SlotOf(original, 1));
  EXPECT_EQ(last.GetPointCount(), 2);
  EXPECT_TRUE(last.IsModified());

  PointFile first = Loaded(original);
  first.DeleteRecord(0);
  EXPECT_EQ(Layout(first), "BC");
  EXPECT_EQ(SlotOf(first, 0), SlotOf(original, 1));
  EXPECT_EQ(SlotOf(first, 1), SlotOf(original, 2));
  EXPECT_TRUE(IsZero(SlotOf(first, 2)));
  EXPECT_EQ(first.GetPointCount(), 2);

  PointFile full = Loaded(ImageWithPoints(250));
  full.DeleteRecord(0);
  EXPECT_EQ(full.CountPoints(), 249);
  EXPECT_TRUE(IsZero(SlotOf(full, 249)));
}

TEST(DeleteRecord, OfAnEmptySlotChangesNothing) {
  const Image original = ImageOfLetters("ABC");
  PointFile file = Loaded(original);
  file.DeleteRecord(5);
  EXPECT_EQ(ImageOf(file), original);
  EXPECT_EQ(file.GetPointCount(), 3);
  EXPECT_FALSE(file.IsModified());
}

TEST(InsertRecord, CountsStrayPointsThatTheInsertJoinsToTheRun) {
  PointFile file = Loaded(ImageOfLetters("AB.S"));
  ASSERT_EQ(file.GetPointCount(), 2);
  EXPECT_EQ(file.InsertRecord(1), 1);
  EXPECT_EQ(file.CountPoints(), 4);
  EXPECT_EQ(file.GetPointCount(), 4);
}

TEST(DeleteRecord, OfAStrayPointClearsOnlyThatSlot) {
  const Image original = ImageOfLetters("ABC.S.T");
  PointFile file = Loaded(original);
  file.DeleteRecord(4);
  Image expected = original;
  std::fill(SlotBytes(expected, 4), SlotBytes(expected, 5), 0);
  EXPECT_EQ(ImageOf(file), expected);
  EXPECT_EQ(file.GetPointCount(), 3);  // the count covers the leading run, which kept its points
  EXPECT_TRUE(file.IsModified());
}

TEST(DeleteRecord, WithinTheRunLeavesStrayPointsInTheirSlots) {
  const Image original = ImageOfLetters("ABC.S");
  PointFile file = Loaded(original);
  file.DeleteRecord(0);
  EXPECT_EQ(Layout(file), "BC..S");
  EXPECT_EQ(SlotOf(file, 4), SlotOf(original, 4));
}

TEST(CopyRecord, CopiesAllBytesOfTheSlot) {
  const Image original = ImageOfLetters("AB");
  PointFile file = Loaded(original);
  file.CopyRecord(0, 1);
  EXPECT_EQ(SlotOf(file, 0), SlotOf(original, 1));
  EXPECT_TRUE(file.IsModified());
}

TEST(CopyPointFrom, CopiesTheFieldsAsStoredAndKeepsTheTargetsStampAndVoice) {
  // Every byte of the source is non-zero: texts that fill their fields to the last byte,
  // coordinates that no DMS text gives back exactly.
  const PointFile source = Loaded(ImageOfLetters("AB"));
  PointFile target = Loaded(ImageOfLetters("C"));
  target.InsertRecord(0);
  target.SetVoiceCode(0, 0x0120);
  target.SetModified(false);
  const Image before = SlotOf(target, 0);

  target.CopyPointFrom(0, source, 1);
  const Image copied = SlotOf(target, 0);
  const Image from = SlotOf(source, 1);
  EXPECT_EQ(Image(copied.begin() + R::kLongitude, copied.begin() + R::kIcon + 1),
            Image(from.begin() + R::kLongitude, from.begin() + R::kIcon + 1));
  EXPECT_EQ(target.GetFlagWord(0), R::kFlagCreated | R::kFlagNickname | R::kFlagPhone | 0x0120);
  // In use, stamp, checksum and what lies behind them: the target's own.
  EXPECT_EQ(Image(copied.begin(), copied.begin() + R::kLongitude), Image(before.begin(), before.begin() + R::kLongitude));
  EXPECT_EQ(Image(copied.begin() + R::kHour, copied.end()), Image(before.begin() + R::kHour, before.end()));
  EXPECT_TRUE(target.IsModified());
  EXPECT_EQ(SlotOf(target, 1), SlotOf(ImageOfLetters("C"), 0));
}

TEST(CopyPointFrom, ClearsTheNicknameAndPhoneFlagsForEmptyTexts) {
  PointFile source;
  source.InsertRecord(0);
  source.SetName(0, "X");
  PointFile target = Loaded(ImageOfLetters("A"));
  target.SetNickname(0, "nick");
  target.SetPhone(0, "03");
  target.CopyPointFrom(0, source, 0);
  EXPECT_EQ(target.GetFlagWord(0) & (R::kFlagNickname | R::kFlagPhone), 0);
  EXPECT_EQ(target.GetNickname(0), "");
  EXPECT_EQ(target.GetPhone(0), "");
  EXPECT_EQ(target.GetName(0), "X");
}

TEST(MoveRecord, PutsThePointBeforeTheOneThatWasAtTheTarget) {
  struct Case {
    int dst, src;
    const char* layout;
    int landed;
  };
  const Case cases[] = {
      {0, 2, "CAB", 0}, {3, 0, "BCA", 2}, {2, 0, "BAC", 1}, {1, 2, "ACB", 1}, {0, 1, "BAC", 0},
  };
  const Image original = ImageOfLetters("ABC");
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.dst) + " <- " + std::to_string(c.src));
    PointFile file = Loaded(original);
    EXPECT_EQ(file.MoveRecord(c.dst, c.src), c.landed);
    EXPECT_EQ(Layout(file), c.layout);
    EXPECT_EQ(SlotOf(file, c.landed), SlotOf(original, c.src));  // every byte, stamp and checksum too
    EXPECT_EQ(file.GetPointCount(), 3);
    EXPECT_TRUE(file.IsModified());
    EXPECT_TRUE(IsZero(SlotOf(file, 3)));
  }
}

TEST(MoveRecord, RotatesAFullTable) {
  const Image original = ImageWithPoints(250);
  const std::pair<int, int> moves[] = {{0, 249}, {250, 0}, {249, 0}, {17, 200}, {200, 17}};
  for (const auto& [dst, src] : moves) {
    SCOPED_TRACE(std::to_string(dst) + " <- " + std::to_string(src));
    PointFile file = Loaded(original);
    std::vector<Image> model;
    for (int slot = 0; slot < kSlotCount; ++slot) model.push_back(SlotOf(original, slot));
    if (dst < src) {
      std::rotate(model.begin() + dst, model.begin() + src, model.begin() + src + 1);
    } else {
      std::rotate(model.begin() + src, model.begin() + src + 1, model.begin() + dst);
    }
    EXPECT_EQ(file.MoveRecord(dst, src), dst < src ? dst : dst - 1);
    for (int slot = 0; slot < kSlotCount; ++slot) ASSERT_EQ(SlotOf(file, slot), model[slot]) << slot;
    EXPECT_EQ(file.GetPointCount(), 250);
  }
}

TEST(MoveRecord, DoesNothingWhenItCannotMove) {
  const Image original = ImageOfLetters("ABC.S");
  const std::pair<int, int> moves[] = {
      {1, 1},  // onto itself
      {0, 4},  // from a stray point
      {4, 0},  // to a stray point
      {1, 3},  // from an empty slot
      {5, 1},  // to beyond the slot after the run
  };
  for (const auto& [dst, src] : moves) {
    SCOPED_TRACE(std::to_string(dst) + " <- " + std::to_string(src));
    PointFile file = Loaded(original);
    EXPECT_EQ(file.MoveRecord(dst, src), -1);
    EXPECT_EQ(ImageOf(file), original);
    EXPECT_FALSE(file.IsModified());
  }
}

// Random inserts, deletes and moves on a leading run, checked slot by slot against a plain
// vector of slots: nothing is lost, duplicated or changed on the way.
TEST(TableOperations, AgreeWithAModelOverRandomSequences) {
  std::mt19937 rng(1234);
  for (int run = 0; run < 30; ++run) {
    const int start = std::uniform_int_distribution<int>(0, 250)(rng);
    PointFile file = Loaded(ImageWithPoints(start));
    std::vector<Image> model;
    for (int slot = 0; slot < start; ++slot) model.push_back(SlotOf(file, slot));

    for (int step = 0; step < 200; ++step) {
      const int n = static_cast<int>(model.size());
      const int op = std::uniform_int_distribution<int>(0, 2)(rng);
      if (op == 0) {
        const int at = std::uniform_int_distribution<int>(0, n)(rng);
        const int result = file.InsertRecord(at);
        if (n == 250) {
          ASSERT_EQ(result, -1);
        } else {
          ASSERT_EQ(result, 1);
          ASSERT_EQ(file.GetInUse(at), 1u);
          ASSERT_EQ(file.GetLongitude(at), 0u);
          model.insert(model.begin() + at, SlotOf(file, at));
        }
      } else if (op == 1 && n > 0) {
        const int at = std::uniform_int_distribution<int>(0, n - 1)(rng);
        file.DeleteRecord(at);
        model.erase(model.begin() + at);
      } else if (n > 0) {
        const int src = std::uniform_int_distribution<int>(0, n - 1)(rng);
        const int dst = std::uniform_int_distribution<int>(0, n)(rng);
        file.MoveRecord(dst, src);
        if (dst < src) std::rotate(model.begin() + dst, model.begin() + src, model.begin() + src + 1);
        if (dst > src) std::rotate(model.begin() + src, model.begin() + src + 1, model.begin() + dst);
      }
      ASSERT_EQ(file.GetPointCount(), static_cast<int>(model.size())) << "step " << step;
      ASSERT_EQ(file.CountPoints(), static_cast<int>(model.size()));
      for (int slot = 0; slot < kSlotCount; ++slot) {
        if (slot < static_cast<int>(model.size())) {
          ASSERT_EQ(SlotOf(file, slot), model[slot]) << "step " << step << " slot " << slot;
        } else {
          ASSERT_TRUE(IsZero(SlotOf(file, slot))) << "step " << step << " slot " << slot;
        }
      }
    }
  }
}


// New points through InsertPoints: point k is filled with the letter 'a' + k.
TEST(InsertPoints, PutsPointsInOrderOrReversedNeverPastTheRunAndStopsAtTheLimit) {
  struct Case {
    const char* before;
    int slot, count, maxPoints;
    InsertionOrder order;
    const char* after;
    Insertion result;
  };
  const auto kInOrder = InsertionOrder::kInOrder;
  const auto kEachAtSlot = InsertionOrder::kEachAtSlot;
  const Case cases[] = {
      {"ABC", 1, 2, kSlotCount, kInOrder, "AabBC", {1, 2, false}},
      {"ABC", 1, 3, kSlotCount, kEachAtSlot, "AcbaBC", {1, 3, false}},
      {"ABC", 9, 1, kSlotCount, kInOrder, "ABCa", {3, 1, false}},
      // A foreign file's point after a gap is never written over: the run takes the points.
      {"AB.S", 3, 1, kSlotCount, kInOrder, "ABaS", {2, 1, false}},
      {"AB.S", 0, 2, kSlotCount, kInOrder, "abABS", {0, 2, false}},
      {"ABC", 0, 3, 4, kInOrder, "aABC", {0, 1, true}},
      {"ABC", 2, 1, 3, kInOrder, "ABC", {2, 0, true}},
  };
  for (const Case& c : cases) {
    PointFile file = Loaded(ImageOfLetters(c.before));
    const Insertion done = InsertPoints(file, c.slot, c.count, c.maxPoints, c.order,
                                        [&](int slot, int k) { file.SetLongitude(slot, 'a' + k); });
    SCOPED_TRACE(std::string(c.before) + " -> " + c.after);
    EXPECT_EQ(Layout(file), c.after);
    EXPECT_EQ(done.first, c.result.first);
    EXPECT_EQ(done.count, c.result.count);
    EXPECT_EQ(done.full, c.result.full);
    for (int slot = done.first; slot < done.first + done.count; ++slot)
      EXPECT_EQ(file.GetChecksum(slot), file.ComputeChecksum(slot)) << slot;
  }
  EXPECT_EQ(PointLimitText(250), "250地点以上は登録出来ません");
}

}  // namespace
