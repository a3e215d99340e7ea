// Loading and saving through a FileStore: what is accepted, what the user is told, and that
// no byte is lost or invented on the way.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "pointfile/point_file.h"
#include "pointfile/testing/memory_file_store.h"
#include "pointfile/testing/point_images.h"
#include "pointfile/testing/recording_message_sink.h"

namespace {

using Texts = std::vector<std::string>;

struct LoadReport {
  int result;
  Texts texts;
};

LoadReport LoadInto(PointFile& file, const std::string& path, MemoryFileStore& store) {
  RecordingMessageSink sink;
  const int result = file.LoadFile(path, store, sink).Code();
  return {result, sink.texts};
}

LoadReport LoadBytes(PointFile& file, const Image& bytes, const std::string& path = kTestPath) {
  MemoryFileStore store;
  store.Put(path, bytes);
  return LoadInto(file, path, store);
}

TEST(LoadFile, SaysWhatItFound) {
  PointFile file;
  MemoryFileStore store;
  RecordingMessageSink sink;
  store.Put("/p/ok.pnt", ImageWithPoints(3));
  store.Put("/p/other.pnt", Image(kPointFileLength, 'x'));
  store.Put("/p/ok.txt", ImageWithPoints(3));
  EXPECT_EQ(file.LoadFile("/p/ok.pnt", store, sink).outcome, LoadOutcome::kLoaded);
  EXPECT_EQ(file.LoadFile("/p/other.pnt", store, sink).outcome, LoadOutcome::kNotPointFile);
  EXPECT_EQ(file.LoadFile("/p/ok.txt", store, sink).outcome, LoadOutcome::kRefusedExtension);
  const LoadResult missing = file.LoadFile("/p/gone.pnt", store, sink);
  EXPECT_EQ(missing.outcome, LoadOutcome::kReadFailed);
  EXPECT_EQ(missing.cause, FileCause::kFileNotFound);
  EXPECT_EQ(missing.Code(), -1);
}

TEST(LoadFile, AcceptsThePntExtensionInAnyCase) {
  for (const char* path : {"/p/a.pnt", "/p/a.PNT", "/p/a.PnT", "/p/v1.2/a.pnt", "C:\\pnt\\a.Pnt"}) {
    PointFile file;
    const auto [result, texts] = LoadBytes(file, ImageWithPoints(2), path);
    EXPECT_EQ(result, 0) << path;
    EXPECT_TRUE(texts.empty()) << path;
    EXPECT_EQ(file.GetPointCount(), 2) << path;
  }
}

TEST(LoadFile, RefusesOtherExtensionsAndEmptiesTheFile) {
  for (const char* path : {"/p/a", "/p/a.pnt.bak", "/p/a.pn", "/p/dir.pnt/a", "/p/.pnt/a", "/p/a.pntx"}) {
    PointFile file = Loaded(ImageWithPoints(3));
    file.SetModified(1);
    const auto [result, texts] = LoadBytes(file, ImageWithPoints(2), path);
    EXPECT_EQ(result, -1) << path;
    EXPECT_EQ(texts, Texts{UnrecognisedFileText(path)}) << path;
    EXPECT_EQ(ImageOf(file), EmptyImage()) << path;
    EXPECT_EQ(file.GetPointCount(), 0) << path;
    EXPECT_TRUE(file.IsModified()) << path;
  }
}

TEST(UnrecognisedFileText, PutsThePathBeforeTheIndentedText) {
  EXPECT_EQ(UnrecognisedFileText("C:\\a.txt"), "C:\\a.txt\n    は認識できないファイルです");
  // A path is not a format: its own % signs stay as they are.
  EXPECT_EQ(UnrecognisedFileText("/p/100%s%n.txt"), "/p/100%s%n.txt\n    は認識できないファイルです");
}

TEST(LoadFile, ReadsShortFilesAsTheStartOfAnImage) {
  const std::string signature(kPointFileSignature, kSignatureLength);
  Image twoPoints = ImageWithPoints(2);
  twoPoints.resize(kHeaderLength + 2 * PointRecord::kEncodedLength);
  Image expected = ImageWithPoints(2);

  struct Case {
    const char* what;
    Image bytes;
    Image image;
    int count;
  };
  const Case cases[] = {
      {"empty file", {}, EmptyImage(), 0},
      {"ten bytes of the signature", Image(signature.begin(), signature.begin() + 10), EmptyImage(), 0},
      {"header and two slots", twoPoints, expected, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PointFile file;
    const auto [result, texts] = LoadBytes(file, c.bytes);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(texts.empty());
    EXPECT_EQ(ImageOf(file), c.image);
    EXPECT_EQ(file.GetPointCount(), c.count);
  }
}

TEST(LoadFile, EmptiesAFileWithTheWrongSignature) {
  for (std::size_t wrong : {std::size_t{0}, std::size_t{24}}) {
    Image image = ImageWithPoints(5);
    image[wrong] ^= 0x20;
    PointFile file;
    file.SetModified(1);
    const auto [result, texts] = LoadBytes(file, image);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(texts, Texts{UnrecognisedFileText(kTestPath)});
    EXPECT_EQ(ImageOf(file), EmptyImage());
    EXPECT_EQ(file.GetPointCount(), 0);
    EXPECT_FALSE(file.IsModified());
  }
}

TEST(LoadFile, IgnoresBytesAfterTheImage) {
  Image longer = ImageWithPoints(4);
  longer.resize(70000, 0xAA);
  MemoryFileStore store;
  store.Put(kTestPath, longer);
  PointFile file;
  ASSERT_EQ(LoadInto(file, kTestPath, store).result, 0);
  EXPECT_EQ(file.GetPointCount(), 4);

  RecordingMessageSink sink;
  ASSERT_EQ(file.SaveFile("/p/out.pnt", store, sink), 0);
  EXPECT_EQ(store.Contents("/p/out.pnt"), ImageWithPoints(4));
}

TEST(LoadFile, CountsNothingWhenSlotZeroIsEmpty) {
  Image image = ImageWithPoints(4);
  std::fill(SlotBytes(image, 0), SlotBytes(image, 1), 0);
  const PointFile file = Loaded(image);
  EXPECT_EQ(file.GetPointCount(), 0);
  EXPECT_EQ(file.CountStrayPoints(), 3);
  EXPECT_EQ(ImageOf(file), image);  // the points are kept all the same
}

TEST(LoadFile, ReplacesEverythingOfThePreviousFileAndClearsModified) {
  PointFile file = Loaded(ImageWithPoints(10));
  file.SetModified(1);
  LoadBytes(file, ImageWithPoints(2));
  EXPECT_EQ(ImageOf(file), ImageWithPoints(2));
  EXPECT_EQ(file.GetPointCount(), 2);
  EXPECT_FALSE(file.IsModified());
}

TEST(LoadFile, ReportsAFileThatCannotBeReadAndLeavesTheFileEmpty) {
  struct Case {
    const char* what;
    FileCause failure;  // kNone: the file is missing
    std::string text;
  };
  const Case cases[] = {
      {"missing file", FileCause::kNone, "\"/p/gone.pnt\"\n\nファイル未定義"},
      {"access denied", FileCause::kAccessDenied, "\"/p/gone.pnt\"\n\nファイル アクセス禁止"},
      {"read error after opening", FileCause::kHardIO, "\"/p/gone.pnt\"\n\nハードウェア エラー"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryFileStore store;
    if (c.failure != FileCause::kNone) {
      store.Put("/p/gone.pnt", ImageWithPoints(3));
      store.FailReadsWith(c.failure);
    }
    PointFile file = Loaded(ImageWithPoints(7));
    file.SetModified(1);
    const auto [result, texts] = LoadInto(file, "/p/gone.pnt", store);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(texts, Texts{c.text});
    EXPECT_EQ(ImageOf(file), EmptyImage());
    EXPECT_EQ(file.GetPointCount(), 0);
    EXPECT_TRUE(file.IsModified());
  }
}

// A store that puts part of the file into the buffer before its read fails.
class FailingHalfwayStore : public MemoryFileStore {
 public:
  FileCause Read(const std::string& path, std::uint8_t* buffer, std::size_t capacity,
                 std::size_t& bytesRead) override {
    MemoryFileStore::Read(path, buffer, capacity, bytesRead);
    return FileCause::kHardIO;
  }
};

TEST(LoadFile, KeepsNothingOfAReadThatFailedPartWay) {
  FailingHalfwayStore store;
  store.Put(kTestPath, ImageWithPoints(5));
  PointFile file;
  EXPECT_EQ(LoadInto(file, kTestPath, store).result, -1);
  EXPECT_EQ(ImageOf(file), EmptyImage());
  EXPECT_EQ(file.GetPointCount(), 0);
}

TEST(SaveFile, WritesTheWholeImage) {
  PointFile file;
  file.InsertRecord(0);
  file.SetName(0, "A\x93\x8C");
  file.UpdateChecksum(0);
  MemoryFileStore store;
  RecordingMessageSink sink;
  EXPECT_EQ(file.SaveFile(kTestPath, store, sink), 0);
  EXPECT_TRUE(sink.texts.empty());
  EXPECT_EQ(store.Contents(kTestPath), ImageOf(file));
  EXPECT_TRUE(file.IsModified());  // SaveFile alone leaves the flag to its caller

  PointFile again;
  LoadInto(again, kTestPath, store);
  EXPECT_EQ(ImageOf(again), ImageOf(file));
  EXPECT_EQ(again.GetName(0), "A\x93\x8C");
}

TEST(SaveFile, WritesAFileWhoseLastPointWasDeleted) {
  MemoryFileStore store;
  store.Put(kTestPath, ImageWithPoints(1));
  PointFile file;
  LoadInto(file, kTestPath, store);
  file.DeleteRecord(0);
  RecordingMessageSink sink;
  EXPECT_EQ(file.SavePoints(kTestPath, store, sink), 0);
  // Not the old file with its point, which the user deleted: the empty point file.
  EXPECT_EQ(store.Contents(kTestPath), EmptyImage());
  EXPECT_FALSE(file.IsModified());
}

TEST(SaveFile, ReportsAFailureAndLeavesTheOldFile) {
  MemoryFileStore store;
  store.Put(kTestPath, ImageWithPoints(2));
  PointFile file = Loaded(ImageWithPoints(5));
  file.SetName(0, "x");
  store.FailReplacesWith(FileCause::kDiskFull);
  RecordingMessageSink sink;
  EXPECT_EQ(file.SavePoints(kTestPath, store, sink), -1);
  EXPECT_EQ(sink.texts, Texts{"\"" + std::string(kTestPath) + "\"\n\nディスク フル"});
  EXPECT_EQ(store.Contents(kTestPath), ImageWithPoints(2));
  EXPECT_TRUE(file.IsModified());  // the changes are still unsaved

  store.FailReplacesWith(FileCause::kNone);
  EXPECT_EQ(file.SavePoints(kTestPath, store, sink), 0);
  EXPECT_FALSE(file.IsModified());
  EXPECT_EQ(store.Contents(kTestPath), ImageOf(file));
}

TEST(ShowFileError, QuotesThePathAndNamesTheCause) {
  RecordingMessageSink sink;
  ShowFileError(FileCause::kAccessDenied, "C:\\pnt\\a.pnt", sink);
  EXPECT_EQ(sink.texts, Texts{"\"C:\\pnt\\a.pnt\"\n\nファイル アクセス禁止"});
}

TEST(FileCauseText, HasATextForEveryCauseAndOneForTheRest) {
  EXPECT_EQ(FileCauseText(0), "エラーなし");
  EXPECT_EQ(FileCauseText(2), "ファイル未定義");
  EXPECT_EQ(FileCauseText(11), "SHARE.EXE 未ロードまたは共有領域ロック済み");
  EXPECT_EQ(FileCauseText(14), "ファイルの終わりに到達");
  for (int other : {15, 16, -1, 1000}) EXPECT_EQ(FileCauseText(other), "原因不明です") << other;
  for (int cause = 0; cause <= 14; ++cause) {
    EXPECT_FALSE(FileCauseText(cause).empty());
    EXPECT_NE(FileCauseText(cause), "原因不明です");
  }
}

// Whatever a file holds behind its signature (stray points, junk in the bytes the editor
// never reads, any inUse word), loading and saving it gives back the same bytes.
TEST(LoadThenSave, KeepsEveryByteOfRandomImages) {
  std::mt19937 rng(99);
  for (int n = 0; n < 300; ++n) {
    const double usedChance = (n % 11) / 10.0;
    const Image image = RandomImage(rng, usedChance);
    MemoryFileStore store;
    store.Put(kTestPath, image);
    PointFile file;
    RecordingMessageSink sink;
    ASSERT_TRUE(file.LoadFile(kTestPath, store, sink).Loaded());
    ASSERT_TRUE(sink.texts.empty());
    int used = 0;
    for (int slot = 0; slot < kSlotCount; ++slot) used += GetBigEndian32(SlotBytes(image, slot)) != 0;
    ASSERT_EQ(file.CountPoints() + file.CountStrayPoints(), used);
    ASSERT_EQ(file.GetPointCount(), GetBigEndian32(SlotBytes(image, 0)) != 0 ? file.CountPoints() : 0);
    ASSERT_EQ(file.SaveFile("/p/out.pnt", store, sink), 0);
    ASSERT_EQ(store.Contents("/p/out.pnt"), image) << "image " << n;
  }
}

TEST(LoadThenSave, CompletesTruncatedImagesWithTheEmptyImage) {
  std::mt19937 rng(5);
  for (int n = 0; n < 100; ++n) {
    const Image image = RandomImage(rng, 0.9);
    const auto length = std::uniform_int_distribution<std::size_t>(0, kPointFileLength)(rng);
    Image expected = EmptyImage();
    std::copy_n(image.begin(), length, expected.begin());
    const PointFile file = Loaded(Image(image.begin(), image.begin() + length));
    ASSERT_EQ(ImageOf(file), expected) << "length " << length;
  }
}

}  // namespace
