// pnt as users run it: real processes, real files in a temporary directory.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace fs = std::filesystem;

namespace {

struct Outcome {
  int status = -1;
  std::string out, err;
};

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string Quote(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class PntCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/pnt-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    m_dir = pattern;
    fs::copy_file(fs::path(OSTREL_SAMPLES_DIR) / "sample.pnt", m_dir / "sample.pnt");
    fs::copy_file(fs::path(OSTREL_SAMPLES_DIR) / "full250.pnt", m_dir / "full250.pnt");
  }
  void TearDown() override { fs::remove_all(m_dir); }

  fs::path Path(const std::string& name) const { return m_dir / name; }

  Outcome Pnt(const std::vector<std::string>& args) {
    std::string command = Quote(PNT_BINARY);
    for (const std::string& arg : args) command += " " + Quote(arg);
    command += " >" + Quote(Path("out.txt")) + " 2>" + Quote(Path("err.txt")) + " </dev/null";
    Outcome run;
    int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadAll(Path("out.txt"));
    run.err = ReadAll(Path("err.txt"));
    fs::remove(Path("out.txt"));
    fs::remove(Path("err.txt"));
    return run;
  }

  std::vector<std::string> Names(const std::string& file) {
    std::vector<std::string> names;
    for (const std::string& line : Lines(Pnt({"list", "--json", Path(file)}).out)) {
      names.push_back(nlohmann::json::parse(line)["name"]);
    }
    return names;
  }

  // Files in the directory other than those named: what a failed command must not leave.
  std::set<std::string> Entries() {
    std::set<std::string> entries;
    for (const auto& entry : fs::directory_iterator(m_dir)) entries.insert(entry.path().filename());
    return entries;
  }

  fs::path m_dir;
};

TEST_F(PntCommand, ListJsonGivesOneObjectPerPointWithExactlyTheAgreedKeys) {
  Outcome run = Pnt({"list", "--json", Path("sample.pnt")});
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 12u);
  nlohmann::json first = nlohmann::json::parse(lines[0]);
  std::set<std::string> keys;
  for (const auto& item : first.items()) keys.insert(item.key());
  EXPECT_EQ(keys, (std::set<std::string>{"slot", "icon", "name", "location", "nickname", "phone", "longitude",
                                         "latitude", "longitude_units", "latitude_units", "date", "time",
                                         "voice", "flags", "checksum_ok"}));
  EXPECT_EQ(first["name"], "東京駅");
  EXPECT_EQ(first["location"], "東京都千代田区丸の内");
  EXPECT_EQ(first["latitude"], " 35/40/52.450");  // the leading blank stays
  EXPECT_EQ(first["checksum_ok"], true);
  EXPECT_EQ(nlohmann::json::parse(lines[11])["voice"], 31);
  EXPECT_EQ(nlohmann::json::parse(lines[11])["slot"], 11);
}

TEST_F(PntCommand, ListTableShowsEveryPointAsUtf8) {
  Outcome run = Pnt({"list", Path("sample.pnt")});
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_NE(lines[1].find("東京駅"), std::string::npos);
  EXPECT_NE(lines[1].find("139/46/01.649"), std::string::npos);
}

TEST_F(PntCommand, FilesThatAreNotPointFilesAreRefusedWithStatusOne) {
  WriteAll(Path("garbage.pnt"), std::string(64048, '\x5A'));
  WriteAll(Path("text.txt"), "hello");
  for (const char* name : {"garbage.pnt", "text.txt", "missing.pnt"}) {
    SCOPED_TRACE(name);
    Outcome run = Pnt({"list", Path(name)});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(Path(name).string()), std::string::npos) << run.err;
  }
  EXPECT_NE(Pnt({"list", Path("garbage.pnt")}).err.find("は認識できないファイルです"), std::string::npos);
  EXPECT_NE(Pnt({"list", Path("missing.pnt")}).err.find("ファイル未定義"), std::string::npos);
  EXPECT_EQ(Pnt({"info", Path("garbage.pnt")}).status, 1);
}

TEST_F(PntCommand, UsageErrorsGiveStatusTwoAndEveryCommandHasHelp) {
  EXPECT_EQ(Pnt({}).status, 2);
  EXPECT_EQ(Pnt({"frobnicate"}).status, 2);
  EXPECT_EQ(Pnt({"list"}).status, 2);
  EXPECT_EQ(Pnt({"export", Path("sample.pnt"), "--to", "gpx", "--datum", "mars"}).status, 2);
  for (const char* command : {"list", "info", "add", "set", "delete", "move", "check", "export", "import", "diff"}) {
    SCOPED_TRACE(command);
    Outcome run = Pnt({command, "--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("Usage"), std::string::npos);
  }
}

// The matching itself is tested with the core; here the command: its statuses, its text and
// its JSON for the edits a user makes with pnt itself.
TEST_F(PntCommand, DiffReportsEachKindOfChangeWithDiffsStatuses) {
  fs::copy_file(Path("sample.pnt"), Path("edited.pnt"));
  Outcome same = Pnt({"diff", Path("sample.pnt"), Path("edited.pnt")});
  EXPECT_EQ(same.status, 0) << same.err;
  EXPECT_EQ(same.out, "");
  ASSERT_EQ(Pnt({"move", Path("edited.pnt"), "3", "0"}).status, 0);  // 金閣寺 first
  ASSERT_EQ(Pnt({"delete", Path("edited.pnt"), "6"}).status, 0);     // 札幌時計台
  ASSERT_EQ(Pnt({"set", Path("edited.pnt"), "1", "--phone", "03-0000", "--icon", "7"}).status, 0);  // 東京駅
  ASSERT_EQ(Pnt({"add", Path("edited.pnt"), "--at", "11", "--name", "皇居", "--lon", "139/45/10", "--lat",
                 "35/41/07"}).status, 0);

  Outcome text = Pnt({"diff", Path("sample.pnt"), Path("edited.pnt")});
  EXPECT_EQ(text.status, 1) << text.err;
  EXPECT_EQ(text.out,
            "removed  A 6: 札幌時計台\n"
            "added    B 11: 皇居\n"
            "changed  A 0 -> B 1: 東京駅\n"
            "         phone: \"03-1234-5678\" -> \"03-0000\"\n"
            "         icon: \"01\" -> \"07\"\n"
            "moved    A 3 -> B 0: 金閣寺\n");

  Outcome json = Pnt({"diff", "--json", Path("sample.pnt"), Path("edited.pnt")});
  EXPECT_EQ(json.status, 1);
  const nlohmann::json document = nlohmann::json::parse(json.out);
  EXPECT_EQ(document["same"], false);
  EXPECT_EQ(document["removed"], nlohmann::json::parse(R"([{"slot":6,"name":"札幌時計台"}])"));
  EXPECT_EQ(document["added"], nlohmann::json::parse(R"([{"slot":11,"name":"皇居"}])"));
  EXPECT_EQ(document["moved"], nlohmann::json::parse(R"([{"slot_a":3,"slot_b":0,"name":"金閣寺"}])"));
  EXPECT_EQ(document["changed"][0]["fields"]["phone"], nlohmann::json::parse(R"({"a":"03-1234-5678","b":"03-0000"})"));
  EXPECT_EQ(nlohmann::json::parse(Pnt({"diff", "--json", Path("sample.pnt"), Path("sample.pnt")}).out)["same"], true);

  // Trouble is 2, as with diff, never 1, which would read as "they differ".
  WriteAll(Path("garbage.pnt"), std::string(64048, '\x5A'));
  EXPECT_EQ(Pnt({"diff", Path("sample.pnt"), Path("missing.pnt")}).status, 2);
  EXPECT_EQ(Pnt({"diff", Path("garbage.pnt"), Path("sample.pnt")}).status, 2);
  EXPECT_EQ(Pnt({"diff", Path("sample.pnt")}).status, 2);
}

TEST_F(PntCommand, InfoReportsStrayPointsAndWrongChecksums) {
  std::string image = ReadAll(Path("sample.pnt"));
  image[48 + 256 * 3 + 3] = 0;   // slot 3 no longer in use: slots 4-11 lie after a gap
  image[48 + 256 * 1 + 20] ^= 1;  // slot 1's name changed behind its checksum
  WriteAll(Path("odd.pnt"), image);
  Outcome run = Pnt({"info", Path("odd.pnt")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("signature: matched"), std::string::npos);
  EXPECT_NE(run.out.find("points: 3"), std::string::npos);
  EXPECT_NE(run.out.find("outside the leading run: 8 (4, 5, 6, 7, 8, 9, 10, 11)"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("wrong checksum: 1 (1)"), std::string::npos) << run.out;
  // list shows every used slot, also those after the gap.
  EXPECT_EQ(Lines(Pnt({"list", "--json", Path("odd.pnt")}).out).size(), 11u);
}

TEST_F(PntCommand, AddIsRefusedWithoutTouchingTheFile) {
  const std::string full = ReadAll(Path("full250.pnt"));
  const std::string sample = ReadAll(Path("sample.pnt"));
  struct Case { std::string file; std::vector<std::string> options; std::string message; };
  const std::vector<Case> cases = {
      {"full250.pnt", {"--name", "x", "--lon", "139", "--lat", "35"}, "250"},
      {"sample.pnt", {"--lon", "139", "--lat", "35"}, "--name"},
      {"sample.pnt", {"--name", "x", "--lat", "35"}, "--lon"},
      {"sample.pnt", {"--name", "", "--lon", "139", "--lat", "35"}, "--name"},
      {"sample.pnt", {"--name", "x", "--lon", "35", "--lat", "139"}, "122-146"},
      {"sample.pnt", {"--name", "x", "--lon", "139", "--lat", "23/59/59"}, "24-45"},
      {"sample.pnt", {"--name", "x", "--lon", "139.767", "--lat", "35"}, "minutes"},
      {"sample.pnt", {"--name", "😀", "--lon", "139", "--lat", "35"}, "code page 932"},
      {"sample.pnt", {"--name", "x", "--lon", "139", "--lat", "35", "--at", "13"}, "beyond"},
      {"sample.pnt", {"--name", "x", "--lon", "139", "--lat", "35", "--at", "one"}, "not a slot number"},
      {"sample.pnt", {"--name", "x", "--lon", "139", "--lat", "35", "--voice", "32"}, "0-31"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"add", Path(c.file)};
    args.insert(args.end(), c.options.begin(), c.options.end());
    Outcome run = Pnt(args);
    SCOPED_TRACE(run.err);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(c.message), std::string::npos);
  }
  EXPECT_EQ(ReadAll(Path("full250.pnt")), full);
  EXPECT_EQ(ReadAll(Path("sample.pnt")), sample);
}

TEST_F(PntCommand, AddInsertsAtTheSlotAndSetWritesOnlyWhatChanges) {
  Outcome add = Pnt({"add", Path("sample.pnt"), "--at", "1", "--name", "新宿駅", "--lon", "139/42/02.5", "--lat",
                 "35/41/23", "--nickname", "しんじゅく", "--icon", "9", "--voice", "4"});
  ASSERT_EQ(add.status, 0) << add.err;
  std::vector<std::string> lines = Lines(Pnt({"list", "--json", Path("sample.pnt")}).out);
  ASSERT_EQ(lines.size(), 13u);
  nlohmann::json added = nlohmann::json::parse(lines[1]);
  EXPECT_EQ(added["name"], "新宿駅");
  EXPECT_EQ(added["longitude"], "139/42/02.500");
  EXPECT_EQ(added["icon"], 9);
  EXPECT_EQ(added["voice"], 4);
  EXPECT_EQ(added["flags"], 0x8000 | 0x4000 | (4 << 5));
  EXPECT_EQ(added["checksum_ok"], true);
  EXPECT_EQ(nlohmann::json::parse(lines[2])["name"], "浅草寺");

  const std::string before = ReadAll(Path("sample.pnt"));
  Outcome same = Pnt({"set", Path("sample.pnt"), "1", "--name", "新宿駅", "--lon", "139/42/02.500"});
  EXPECT_EQ(same.status, 0);
  EXPECT_EQ(ReadAll(Path("sample.pnt")), before);

  ASSERT_EQ(Pnt({"set", Path("sample.pnt"), "1", "--nickname", "", "--phone", "03-0000-0000"}).status, 0);
  nlohmann::json set = nlohmann::json::parse(Lines(Pnt({"list", "--json", Path("sample.pnt")}).out)[1]);
  EXPECT_EQ(set["nickname"], "");
  EXPECT_EQ(set["phone"], "03-0000-0000");
  EXPECT_EQ(set["flags"], 0x8000 | 0x2000 | (4 << 5));
  EXPECT_EQ(set["checksum_ok"], true);
  EXPECT_EQ(set["date"], added["date"]);  // the creation stamp is never rewritten
  EXPECT_EQ(Pnt({"set", Path("sample.pnt"), "13", "--name", "x"}).status, 1);
}

TEST_F(PntCommand, AddCreatesAMissingFile) {
  Outcome run = Pnt({"add", Path("new.pnt"), "--name", "A", "--lon", "139", "--lat", "35"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(fs::file_size(Path("new.pnt")), 64048u);
  EXPECT_EQ(Names("new.pnt"), std::vector<std::string>{"A"});
}

TEST_F(PntCommand, JapaneseFileNamesWorkAndNamesShiftJisCannotHoldAreRefused) {
  // The core takes Shift_JIS paths; a UTF-8 name such as "あ" ends in a byte that is a Shift_JIS
  // lead byte, and read as Shift_JIS it would swallow the period of ".pnt".
  fs::copy_file(Path("sample.pnt"), Path("あ.pnt"));
  EXPECT_EQ(Names("あ.pnt").size(), 12u);
  EXPECT_EQ(Pnt({"set", Path("あ.pnt"), "0", "--nickname", "x"}).status, 0);
  EXPECT_EQ(Pnt({"export", Path("あ.pnt"), "--to", "gpx", "-o", Path("東京.gpx")}).status, 0);
  EXPECT_TRUE(fs::exists(Path("東京.gpx")));
  const Outcome intoPointFile = Pnt({"export", Path("あ.pnt"), "--to", "gpx", "-o", Path("あ.pnt")});
  EXPECT_EQ(intoPointFile.status, 1);
  EXPECT_NE(intoPointFile.err.find("will not write GPX into a .pnt file"), std::string::npos);

  fs::copy_file(Path("sample.pnt"), Path("표.pnt"));
  const std::string before = ReadAll(Path("표.pnt"));
  const Outcome korean = Pnt({"set", Path("표.pnt"), "0", "--nickname", "x"});
  EXPECT_EQ(korean.status, 1);
  EXPECT_NE(korean.err.find("cannot be written in Shift_JIS"), std::string::npos) << korean.err;
  EXPECT_EQ(ReadAll(Path("표.pnt")), before);
}

TEST_F(PntCommand, DeleteTakesSlotNumbersAsTheyWereBeforeTheCommand) {
  ASSERT_EQ(Pnt({"delete", Path("sample.pnt"), "2", "0", "11", "2"}).status, 0);
  std::vector<std::string> names = Names("sample.pnt");
  ASSERT_EQ(names.size(), 9u);
  EXPECT_EQ(names[0], "浅草寺");
  EXPECT_EQ(names[1], "金閣寺");
  EXPECT_EQ(names[8], "道後温泉本館");

  const std::string before = ReadAll(Path("sample.pnt"));
  for (std::vector<std::string> slots : {std::vector<std::string>{"1", "x"}, {"9"}, {"-1"}, {"250"}, {"1.5"}}) {
    std::vector<std::string> args = {"delete", Path("sample.pnt")};
    args.insert(args.end(), slots.begin(), slots.end());
    Outcome run = Pnt(args);
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("slot"), std::string::npos) << run.err;
  }
  EXPECT_EQ(ReadAll(Path("sample.pnt")), before);
}

TEST_F(PntCommand, DeletingEveryPointReallyEmptiesTheFile) {
  std::vector<std::string> args = {"delete", Path("sample.pnt")};
  for (int i = 0; i < 12; ++i) args.push_back(std::to_string(i));
  ASSERT_EQ(Pnt(args).status, 0);
  EXPECT_EQ(fs::file_size(Path("sample.pnt")), 64048u);
  EXPECT_TRUE(Names("sample.pnt").empty());
}

TEST_F(PntCommand, MoveBehavesAsTheListsDragEvenWithAFullFile) {
  ASSERT_EQ(Pnt({"move", Path("sample.pnt"), "0", "12"}).status, 0);
  std::vector<std::string> names = Names("sample.pnt");
  EXPECT_EQ(names.front(), "浅草寺");
  EXPECT_EQ(names.back(), "東京駅");
  ASSERT_EQ(Pnt({"move", Path("sample.pnt"), "11", "1"}).status, 0);
  names = Names("sample.pnt");
  EXPECT_EQ(names[1], "東京駅");
  EXPECT_EQ(names[2], "富士山五合目");
  EXPECT_EQ(Pnt({"move", Path("sample.pnt"), "12", "0"}).status, 1);
  EXPECT_EQ(Pnt({"move", Path("sample.pnt"), "0", "13"}).status, 1);

  std::vector<std::string> before = Names("full250.pnt");
  Outcome run = Pnt({"move", Path("full250.pnt"), "249", "0"});
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<std::string> after = Names("full250.pnt");
  ASSERT_EQ(after.size(), 250u);
  EXPECT_EQ(after[0], before[249]);
  EXPECT_EQ(after[1], before[0]);
  EXPECT_EQ(after[249], before[248]);
}

TEST_F(PntCommand, CheckFindsProblemsAndFixesOnlyChecksums) {
  Outcome clean = Pnt({"check", Path("sample.pnt")});
  EXPECT_EQ(clean.status, 0) << clean.out;
  std::string image = ReadAll(Path("sample.pnt"));
  auto slot = [&image](int i, int offset) -> char& { return image[48 + 256 * i + offset]; };
  slot(0, 150) = static_cast<char>(slot(0, 150) & ~0x40);  // nickname present, flag clear
  slot(1, 149) = 0;                                        // icon 0
  slot(2, 156) = 13;                                       // month 13
  slot(3, 4) = 0x7F;                                       // longitude far east of Japan
  slot(4, 12) = slot(5, 12);                               // same first character ...
  for (int k = 12; k < 52; ++k) slot(4, k) = slot(5, k);  // ... and the same name as slot 5
  WriteAll(Path("bad.pnt"), image);
  Outcome run = Pnt({"check", Path("bad.pnt")});
  EXPECT_EQ(run.status, 1);
  for (const char* finding : {"slot 0: the nickname is not empty but its flag is clear", "slot 1: icon 0",
                              "slot 2: date 2024/13/03", "slot 3: longitude", "slot 5: the name",
                              "slot 0: checksum", "slot 4: checksum"}) {
    EXPECT_NE(run.out.find(finding), std::string::npos) << finding << "\n" << run.out;
  }
  Outcome fix = Pnt({"check", "--fix-checksums", Path("bad.pnt")});
  EXPECT_EQ(fix.status, 1);  // the other findings remain
  EXPECT_NE(fix.out.find("(rewritten)"), std::string::npos);
  Outcome again = Pnt({"check", Path("bad.pnt")});
  EXPECT_EQ(again.out.find("checksum"), std::string::npos) << again.out;
  EXPECT_NE(again.out.find("icon 0"), std::string::npos);
}

TEST_F(PntCommand, EveryFormatComesBackToTheSamePoints) {
  const std::string original = Pnt({"list", "--json", Path("sample.pnt")}).out;
  for (const char* format : {"gpx", "kml", "csv", "geojson"}) {
    SCOPED_TRACE(format);
    std::string exported = Path(std::string("out.") + format);
    ASSERT_EQ(Pnt({"export", Path("sample.pnt"), "--to", format, "-o", exported}).status, 0);
    Outcome run = Pnt({"import", exported, "-o", Path(std::string("back-") + format + ".pnt")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Pnt({"list", "--json", Path(std::string("back-") + format + ".pnt")}).out, original);
  }
  // To standard output by default.
  EXPECT_EQ(Pnt({"export", Path("sample.pnt"), "--to", "csv"}).out, ReadAll(Path("out.csv")));
  // A slip of the keyboard must not turn the point file itself into GPX.
  const std::string sample = ReadAll(Path("sample.pnt"));
  EXPECT_EQ(Pnt({"export", Path("sample.pnt"), "--to", "gpx", "-o", Path("sample.pnt")}).status, 1);
  EXPECT_EQ(ReadAll(Path("sample.pnt")), sample);
}

TEST_F(PntCommand, TokyoDatumIsShiftedOnTheWayOutAndBack) {
  ASSERT_EQ(Pnt({"export", Path("sample.pnt"), "--to", "csv", "-o", Path("wgs.csv")}).status, 0);
  ASSERT_EQ(Pnt({"export", Path("sample.pnt"), "--to", "csv", "--datum", "tokyo", "-o", Path("tokyo.csv")}).status, 0);
  // Tokyo station: the same stored numbers lie about 450 m apart on the two datums.
  std::vector<std::string> wgs = Lines(ReadAll(Path("wgs.csv")));
  std::vector<std::string> tokyo = Lines(ReadAll(Path("tokyo.csv")));
  auto coordinate = [](const std::string& line, int field) {
    std::istringstream in(line);
    std::string value;
    for (int i = 0; i <= field; ++i) std::getline(in, value, ',');
    return std::stod(value);
  };
  double dLat = (coordinate(tokyo[1], 1) - coordinate(wgs[1], 1)) * 111000;
  double dLon = (coordinate(tokyo[1], 2) - coordinate(wgs[1], 2)) * 111000 * 0.812;
  EXPECT_NEAR(std::hypot(dLat, dLon), 450, 30);
  EXPECT_GT(dLat, 0);  // WGS 84 lies north-west of the same Tokyo datum numbers
  EXPECT_LT(dLon, 0);
  ASSERT_EQ(Pnt({"import", Path("tokyo.csv"), "--datum", "tokyo", "-o", Path("back.pnt")}).status, 0);
  std::vector<std::string> original = Lines(Pnt({"list", "--json", Path("sample.pnt")}).out);
  std::vector<std::string> back = Lines(Pnt({"list", "--json", Path("back.pnt")}).out);
  ASSERT_EQ(back.size(), original.size());
  for (std::size_t i = 0; i < back.size(); ++i) {
    auto a = nlohmann::json::parse(original[i]);
    auto b = nlohmann::json::parse(back[i]);
    EXPECT_NEAR(a["longitude_units"].get<double>(), b["longitude_units"].get<double>(), 1);
    EXPECT_NEAR(a["latitude_units"].get<double>(), b["latitude_units"].get<double>(), 1);
  }
}

TEST_F(PntCommand, CsvEncodingsAreReadBackWhateverWasChosen) {
  for (const char* encoding : {"utf-8", "utf-8-bom", "cp932"}) {
    SCOPED_TRACE(encoding);
    ASSERT_EQ(Pnt({"export", Path("sample.pnt"), "--to", "csv", "--encoding", encoding, "-o", Path("e.csv")}).status, 0);
    std::string bytes = ReadAll(Path("e.csv"));
    EXPECT_EQ(bytes.rfind("\xEF\xBB\xBF", 0) == 0, std::string(encoding) == "utf-8-bom");
    EXPECT_EQ(bytes.find("\x93\x8C\x8B\x9E\x89\x77") != std::string::npos, std::string(encoding) == "cp932");
    ASSERT_EQ(Pnt({"import", Path("e.csv"), "--force", "-o", Path("e.pnt")}).status, 0);
    EXPECT_EQ(Names("e.pnt"), Names("sample.pnt"));
  }
  EXPECT_EQ(Pnt({"export", Path("sample.pnt"), "--to", "gpx", "--encoding", "cp932"}).status, 1);
}

// A spreadsheet's tab-separated "Unicode text": UTF-16 little-endian after a byte order mark.
std::string UnicodeText(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  return bytes;
}

TEST_F(PntCommand, ImportLeavesOutPlacesWithoutPositionAndReportsDuplicates) {
  ASSERT_EQ(Pnt({"export", Path("sample.pnt"), "--to", "csv", "-o", Path("e.csv")}).status, 0);
  const std::vector<std::string> exported = Lines(ReadAll(Path("e.csv")));
  // The first sample point again, a new one in DMS, and an entry with an address only.
  WriteAll(Path("mixed.csv"), exported[0] + "\n" + exported[1] + "\nNew,34°30'N,135°30'E,,,,,,,\nNowhere,,,Kyoto,,,,,,\n");
  WriteAll(Path("unicode.txt"), UnicodeText(u"Title\tLat\tLong\r\nWürzburg\t49.79\t9.95\r\n"));
  WriteAll(Path("nowhere.csv"), "Title,URL\r\nA,https://maps.app.goo.gl/AbCdEf\r\n");
  struct Case {
    std::vector<std::string> args;
    int status;
    std::vector<std::string> messages;
    std::size_t points;  // in out.pnt afterwards
  };
  const Case cases[] = {
      {{"mixed.csv"}, 0, {"line 4 \"Nowhere\": has no position", "line 2 \"" + Names("sample.pnt")[0] + "\": the same place as slot 0",
                          "1 point(s) are the same place as a point of", "--skip-duplicates"}, 14},
      {{"mixed.csv", "--skip-duplicates"}, 0, {"; left out", "were left out"}, 13},
      {{"unicode.txt", "--from", "csv"}, 0, {"1 letter(s) with a diacritic"}, 13},
      {{"nowhere.csv"}, 1, {"A\": has no position", "holds no point with a position; nothing was written"}, 12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0]);
    fs::copy_file(Path("sample.pnt"), Path("out.pnt"), fs::copy_options::overwrite_existing);
    std::vector<std::string> args = {"import", Path(c.args[0]), "--append", "-o", Path("out.pnt")};
    args.insert(args.end(), c.args.begin() + 1, c.args.end());
    Outcome run = Pnt(args);
    EXPECT_EQ(run.status, c.status) << run.err;
    for (const std::string& message : c.messages) EXPECT_NE(run.err.find(message), std::string::npos) << message << "\n" << run.err;
    EXPECT_EQ(Names("out.pnt").size(), c.points);
  }
  EXPECT_EQ(Names("out.pnt").back(), Names("sample.pnt").back());
  ASSERT_EQ(Pnt({"import", Path("unicode.txt"), "--from", "csv", "--force", "-o", Path("out.pnt")}).status, 0);
  EXPECT_EQ(Names("out.pnt"), std::vector<std::string>{"Wurzburg"});
}

TEST_F(PntCommand, ImportNeverReplacesAFileUnasked) {
  ASSERT_EQ(Pnt({"export", Path("sample.pnt"), "--to", "gpx", "-o", Path("in.gpx")}).status, 0);
  const std::string before = ReadAll(Path("full250.pnt"));
  Outcome refused = Pnt({"import", Path("in.gpx"), "-o", Path("full250.pnt")});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("--force"), std::string::npos);
  EXPECT_EQ(ReadAll(Path("full250.pnt")), before);
  // Appending to a full file is more than 250 points.
  Outcome tooMany = Pnt({"import", Path("in.gpx"), "--append", "-o", Path("full250.pnt")});
  EXPECT_EQ(tooMany.status, 1);
  EXPECT_EQ(ReadAll(Path("full250.pnt")), before);

  const std::string sample = ReadAll(Path("sample.pnt"));
  ASSERT_EQ(Pnt({"import", Path("in.gpx"), "--append", "--backup", "-o", Path("sample.pnt")}).status, 0);
  EXPECT_EQ(Names("sample.pnt").size(), 24u);
  EXPECT_EQ(ReadAll(Path("sample.pnt.bak")), sample);
  ASSERT_EQ(Pnt({"import", Path("in.gpx"), "--force", "-o", Path("sample.pnt")}).status, 0);
  EXPECT_EQ(Names("sample.pnt").size(), 12u);
}

TEST_F(PntCommand, MoreThan250PointsNeedTruncate) {
  ASSERT_EQ(Pnt({"export", Path("full250.pnt"), "--to", "geojson", "-o", Path("250.geojson")}).status, 0);
  ASSERT_EQ(Pnt({"export", Path("sample.pnt"), "--to", "geojson", "-o", Path("12.geojson")}).status, 0);
  auto all = nlohmann::json::parse(ReadAll(Path("250.geojson")));
  auto twelve = nlohmann::json::parse(ReadAll(Path("12.geojson")));
  for (const auto& feature : twelve["features"]) all["features"].push_back(feature);
  WriteAll(Path("262.geojson"), all.dump());
  Outcome refused = Pnt({"import", Path("262.geojson"), "-o", Path("out.pnt")});
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("262"), std::string::npos);
  EXPECT_FALSE(fs::exists(Path("out.pnt")));
  ASSERT_EQ(Pnt({"import", Path("262.geojson"), "--truncate", "-o", Path("out.pnt")}).status, 0);
  EXPECT_EQ(Names("out.pnt"), Names("full250.pnt"));
}

TEST_F(PntCommand, BadInputIsRefusedAndTouchesNoFile) {
  struct Case { std::string name, content, message; };
  std::string big(100u << 20, ' ');  // 100 MB: refused before it is parsed
  const std::vector<Case> cases = {
      {"empty.gpx", "", "empty"},
      {"broken.gpx", "<gpx>\n<wpt lat=\"35\" lon=\"139\">\n<name>x</gpx>", "line 3"},
      {"nolat.gpx", "<gpx><wpt lon=\"139\"><name>x</name></wpt></gpx>", "wpt 1"},
      {"negative.gpx", "<gpx><wpt lat=\"-35\" lon=\"139\"><name>South</name></wpt></gpx>", "\"South\""},
      {"huge.kml", "<kml><Placemark><name>Far</name><Point><coordinates>1e6,35</coordinates></Point></Placemark></kml>", "cannot be stored"},
      {"garbage.kml", std::string("\x7F" "ELF\x02\x01\x01\x00\x00\x00", 10), "XML"},
      {"broken.geojson", "{\"type\": \"FeatureCollection\", \"features\": [", "line 1"},
      {"overflow.geojson", "{\"type\":\"FeatureCollection\",\"features\":[{\"geometry\":{\"type\":\"Point\",\"coordinates\":[1e999,35]}}]}", "not valid JSON"},
      {"types.geojson", "{\"type\":\"FeatureCollection\",\"features\":[{\"geometry\":{\"type\":\"Point\",\"coordinates\":[139,35]},\"properties\":{\"icon\":\"7\"}}]}", "feature 1"},
      {"quote.csv", "name,latitude,longitude\r\n\"x,35,139\r\n", "never closed"},
      {"latin1.csv", "name,latitude,longitude\r\nM\xFCnchen,48,11\r\n", "line 2"},
      {"nothing.csv", "name,latitude,longitude\r\n", "no points"},
      {"big.gpx", big, "MiB"},
      {"unknown.txt", "x", "--from"},
  };
  WriteAll(Path("existing.pnt"), ReadAll(Path("sample.pnt")));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteAll(Path(c.name), c.content);
    std::set<std::string> before = Entries();
    std::vector<std::string> args = {"import", Path(c.name), "--force", "-o", Path("existing.pnt")};
    if (c.name == "latin1.csv") args.insert(args.end(), {"--encoding", "utf-8"});
    Outcome run = Pnt(args);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(c.name), std::string::npos) << run.err;
    EXPECT_EQ(Entries(), before);  // nothing new, not even a temporary file
    EXPECT_EQ(ReadAll(Path("existing.pnt")), ReadAll(Path("sample.pnt")));
    fs::remove(Path(c.name));
  }
}

TEST_F(PntCommand, StrictRefusesWhatCodePage932CannotHold) {
  WriteAll(Path("emoji.csv"), "name,latitude,longitude\r\nCafé 😀,35,139\r\n");
  Outcome strict = Pnt({"import", Path("emoji.csv"), "--strict", "-o", Path("s.pnt")});
  EXPECT_EQ(strict.status, 1);
  EXPECT_NE(strict.err.find("line 2"), std::string::npos) << strict.err;
  EXPECT_FALSE(fs::exists(Path("s.pnt")));
  Outcome lenient = Pnt({"import", Path("emoji.csv"), "-o", Path("s.pnt")});
  ASSERT_EQ(lenient.status, 0);
  // The letter with its accent is folded, which is a change of its own, not a "?".
  EXPECT_NE(lenient.err.find("1 character(s) code page 932 cannot hold"), std::string::npos) << lenient.err;
  EXPECT_NE(lenient.err.find("1 letter(s) with a diacritic"), std::string::npos) << lenient.err;
  EXPECT_EQ(Names("s.pnt"), std::vector<std::string>{"Cafe ?"});
}

// Files of every odd size, and one whose every slot holds garbage, are shown without harm:
// the table stays one line a point, with no control character reaching the terminal.
TEST_F(PntCommand, OddSizedAndGarbageFilesAreShownAndSavedWhole) {
  const std::string sample = ReadAll(Path("sample.pnt"));
  for (std::size_t size : {0u, 10u, 64047u, 64049u, 70000u}) {
    SCOPED_TRACE(size);
    std::string bytes = sample.substr(0, std::min<std::size_t>(size, sample.size()));
    bytes.resize(size, '\x5A');
    WriteAll(Path("odd.pnt"), bytes);
    Outcome list = Pnt({"list", Path("odd.pnt")});
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(Lines(list.out).size(), size < 64047 ? 1u : 13u);
    ASSERT_EQ(Pnt({"set", Path("odd.pnt"), "0", "--phone", "1"}).status, size < 64047 ? 1 : 0);
    EXPECT_EQ(fs::file_size(Path("odd.pnt")), size < 64047 ? size : 64048u);
  }

  std::string garbage = sample;
  std::uint32_t state = 12345;
  for (std::size_t k = 48; k < garbage.size(); ++k) {
    state = state * 1103515245u + 12345u;
    garbage[k] = static_cast<char>(state >> 24);
  }
  for (int slot = 0; slot < 250; ++slot) garbage[48 + 256 * slot] = '\x01';  // every slot in use
  WriteAll(Path("garbage.pnt"), garbage);
  Outcome list = Pnt({"list", Path("garbage.pnt")});
  ASSERT_EQ(list.status, 0) << list.err;
  EXPECT_EQ(Lines(list.out).size(), 251u);
  EXPECT_EQ(std::count_if(list.out.begin(), list.out.end(), [](char c) { return c != '\n' && static_cast<unsigned char>(c) < 0x20; }), 0);
  EXPECT_EQ(Lines(Pnt({"list", "--json", Path("garbage.pnt")}).out).size(), 250u);
  for (const char* format : {"gpx", "kml", "csv", "geojson"}) {
    SCOPED_TRACE(format);
    const std::string out = Path(std::string("garbage.") + format);
    ASSERT_EQ(Pnt({"export", Path("garbage.pnt"), "--to", format, "-o", out}).status, 0);
    EXPECT_EQ(Pnt({"import", out, "-o", Path("back.pnt"), "--force"}).status, 0);
    EXPECT_EQ(Names("back.pnt").size(), 250u);
  }
  EXPECT_EQ(ReadAll(Path("garbage.pnt")), garbage);
}

// What is not a file of points at all: a FIFO nobody writes to, endless devices, a device
// named as the output. Each gets its message at once, and a device stays the device it was.
TEST_F(PntCommand, FifosAndDevicesNeverHangAndStayWhatTheyWere) {
  ASSERT_EQ(::mkfifo(Path("fifo.pnt").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo(Path("fifo.gpx").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", Path("zero.pnt"));
  fs::create_symlink("/dev/full", Path("full.pnt"));
  const std::string sample = Path("sample.pnt");
  struct Case { std::vector<std::string> args; int status; std::string message; };
  const std::vector<Case> cases = {
      {{"list", Path("fifo.pnt")}, 1, "not a regular file"},
      {{"add", Path("fifo.pnt"), "--name", "x", "--lon", "139/00/00", "--lat", "35/00/00"}, 1, "not a regular file"},
      {{"import", Path("fifo.gpx"), "-o", Path("new.pnt")}, 1, "empty"},
      {{"info", Path("zero.pnt")}, 1, "not a regular file"},
      {{"import", "/dev/zero", "--from", "csv", "-o", Path("new.pnt")}, 1, "MiB"},
      {{"export", sample, "--to", "gpx", "-o", "/dev/full"}, 1, "ディスク フル"},
      {{"import", Path("sample.csv"), "--force", "-o", Path("full.pnt")}, 1, "ディスク フル"},
      {{"export", sample, "--to", "kml", "-o", "/dev/null"}, 0, ""},
  };
  ASSERT_EQ(Pnt({"export", sample, "--to", "csv", "-o", Path("sample.csv")}).status, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1]);
    Outcome run = Pnt(c.args);  // a hang would hold the test until CTest ends it
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
  struct stat info {};
  ASSERT_EQ(::stat("/dev/full", &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode));
  ASSERT_EQ(::stat("/dev/null", &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode));
  EXPECT_TRUE(fs::is_fifo(Path("fifo.pnt")));
  EXPECT_FALSE(fs::exists(Path("new.pnt")));
}

// Texts with a NUL in a name, input nested a million levels deep, and a million rows: a clear
// message or a sound result, no crash, and nothing written on a refusal.
TEST_F(PntCommand, NulsDeepNestingAndHugeInputsAreRefusedOrReadSoundly) {
  const std::size_t depth = 1000000;
  WriteAll(Path("nul.gpx"), "<gpx><wpt lat=\"35\" lon=\"139\"><name>ab&#0;cd</name></wpt></gpx>");
  WriteAll(Path("nul.kml"), "<kml><Placemark><name>ab&#x00;cd</name><Point><coordinates>139,35</coordinates></Point></Placemark></kml>");
  WriteAll(Path("nul.csv"), std::string("name,latitude,longitude\r\nab\0cd,35,139\r\n", 40));
  WriteAll(Path("nul.geojson"), R"({"type":"FeatureCollection","features":[{"type":"Feature","geometry":)"
                                R"({"type":"Point","coordinates":[139,35]},"properties":{"name":"ab\u0000cd"}}]})");
  std::string deepXml = "<gpx>";
  for (std::size_t k = 0; k < depth; ++k) deepXml += "<a>";
  WriteAll(Path("deep.gpx"), deepXml);
  std::string deepKml = "<kml>";
  for (std::size_t k = 0; k < depth; ++k) deepKml += "<Folder>";
  WriteAll(Path("deep.kml"), deepKml + "</kml>");
  WriteAll(Path("deep.geojson"), std::string(depth, '['));
  std::string rows = "name,latitude,longitude\n";
  for (std::size_t k = 0; k < depth; ++k) rows += "p,35,139\n";
  WriteAll(Path("million.csv"), rows);

  struct Case { std::string input; int status; std::string message; };
  const std::vector<Case> cases = {
      {"nul.gpx", 1, "NUL"}, {"nul.kml", 1, "NUL"}, {"nul.csv", 1, "NUL"},
      {"deep.gpx", 1, "XML"}, {"deep.kml", 1, "XML"}, {"deep.geojson", 1, "JSON"}, {"million.csv", 1, "1000000 points"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    Outcome run = Pnt({"import", Path(c.input), "-o", Path("new.pnt")});
    EXPECT_EQ(run.status, c.status);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(Path("new.pnt")));
  }
  // A NUL inside a JSON string is a character like any other: it becomes a blank.
  ASSERT_EQ(Pnt({"import", Path("nul.geojson"), "-o", Path("new.pnt")}).status, 0);
  EXPECT_EQ(Names("new.pnt"), std::vector<std::string>{"ab cd"});
}

}  // namespace
