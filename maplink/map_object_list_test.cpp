// The map-object list and its registry values, against a registry held in memory.
#include "maplink/map_object_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registry/testing/memory_registry.h"

namespace {

constexpr RegistryRoot kMachine = RegistryRoot::kLocalMachine;
constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser;
const std::string kKey = "SOFTWARE\\Brannock\\Merlow";
const std::vector<std::string> kBuiltIns = {"ProAtlasW2.Map", "ProAtlasW3.Map", "ProAtlasSV.Map", "Mapple.Document"};

std::vector<std::string> Plus(std::vector<std::string> names, const std::vector<std::string>& more) {
  names.insert(names.end(), more.begin(), more.end());
  return names;
}

class MapObjectListTest : public ::testing::Test {
 protected:
  MapObjectListTest() { store.SetKeyName("Merlow"); }

  void PutString(const std::string& name, const std::string& text, RegistryRoot root = kMachine) {
    registry.Put(root, kKey, name, {MemoryRegistry::Type::kString, text, 0});
  }
  void PutCount(std::uint32_t count, RegistryRoot root = kMachine) {
    registry.Put(root, kKey, "o-cnt", {MemoryRegistry::Type::kDword, {}, count});
  }
  // Values 00, 01 ... as the registry holds them, up to the first missing one.
  std::vector<std::string> StoredNames(RegistryRoot root = kMachine) const {
    std::vector<std::string> names;
    for (int i = 0; i < 30; ++i) {
      const MemoryRegistry::Value* value = registry.Find(root, kKey, MapObjectValueName(i));
      if (!value) break;
      names.push_back(value->text);
    }
    return names;
  }
  std::uint32_t StoredCount(RegistryRoot root = kMachine) const {
    const MemoryRegistry::Value* value = registry.Find(root, kKey, "o-cnt");
    return value ? value->number : 0xDEADu;
  }

  MemoryRegistry registry;
  MapObjectStore store{registry};
  MapObjectList list{store};
};

TEST_F(MapObjectListTest, FirstRunCreatesTheKeyWithTheBuiltInNamesAndNoChoice) {
  list.LoadNames();
  EXPECT_EQ(list.Names(), kBuiltIns);
  EXPECT_EQ(list.ChosenEntry(), -1);
  EXPECT_EQ(StoredNames(), kBuiltIns);
  EXPECT_EQ(StoredCount(), 4u);
  EXPECT_EQ(store.ReadString("MapObject"), "");
  EXPECT_FALSE(registry.HasKey(kUser, kKey));
}

TEST_F(MapObjectListTest, OpeningPutsBuiltInNamesFirstAndDropsTheirCopies) {
  PutString("MapObject00", "Kitsune.Map");
  PutString("MapObject01", "Mapple.Document");
  PutString("MapObject02", "ProAtlasW2.Map");
  PutString("MapObject03", "Tanuki.Map");
  PutString("MapObject", "Tanuki.Map");
  PutCount(4);
  list.LoadNames();
  EXPECT_EQ(list.Names(), Plus(kBuiltIns, {"Kitsune.Map", "Tanuki.Map"}));
  EXPECT_EQ(StoredNames(), list.Names());
  EXPECT_EQ(StoredCount(), 6u);
  EXPECT_EQ(list.ChosenEntry(), 5);
}

TEST_F(MapObjectListTest, AMissingValueBehindTheCountStaysEmptyUntilTheNextAddition) {
  for (int i = 0; i < 4; ++i) PutString(MapObjectValueName(i), kBuiltIns[i]);
  PutString("MapObject04", "Kitsune.Map");
  PutCount(6);
  list.LoadNames();
  EXPECT_EQ(list.Names(), Plus(kBuiltIns, {"Kitsune.Map"}));
  EXPECT_EQ(StoredNames(), Plus(kBuiltIns, {"Kitsune.Map", ""}));
  EXPECT_EQ(StoredCount(), 6u);

  EXPECT_TRUE(list.AddName("Tanuki.Map"));
  EXPECT_EQ(StoredNames(), Plus(kBuiltIns, {"Kitsune.Map", "Tanuki.Map"}));
  EXPECT_EQ(StoredCount(), 6u);
}

TEST_F(MapObjectListTest, AtMostFifteenNamesAreReadWhateverTheCountSays) {
  // 30, and 0xFFFFFFFF, which read as a signed number would be -1 and lose every name.
  for (std::uint32_t count : {30u, 0xFFFFFFFFu}) {
    registry = MemoryRegistry();
    std::vector<std::string> stored;
    for (int i = 0; i < 30; ++i) {
      stored.push_back("User" + std::to_string(i) + ".Map");
      PutString(MapObjectValueName(i), stored.back());
    }
    PutCount(count);
    list.LoadNames();
    const std::vector<std::string> expected = Plus(kBuiltIns, std::vector<std::string>(stored.begin(), stored.begin() + 11));
    EXPECT_EQ(list.Names(), expected) << count;
    EXPECT_EQ(StoredCount(), 15u) << count;
    const std::vector<std::string> written = StoredNames();
    EXPECT_EQ(std::vector<std::string>(written.begin(), written.begin() + 15), expected) << count;
  }
}

TEST_F(MapObjectListTest, AFullListTakesNoMoreNamesAndAnEmptyNameAddsNothing) {
  list.LoadNames();
  EXPECT_TRUE(list.AddName(""));
  EXPECT_EQ(list.Names(), kBuiltIns);
  EXPECT_EQ(StoredCount(), 4u);
  for (int i = 4; i < 15; ++i) EXPECT_TRUE(list.AddName("Map" + std::to_string(i)));
  EXPECT_EQ(StoredCount(), 15u);
  EXPECT_FALSE(list.AddName("One.Too.Many"));
  EXPECT_EQ(list.Names().size(), 15u);
  EXPECT_EQ(registry.Find(kMachine, kKey, "MapObject15"), nullptr);
  EXPECT_EQ(StoredCount(), 15u);
  // A name already in the list is added again: nothing checks for copies.
  list.DeleteName(14);
  EXPECT_TRUE(list.AddName("ProAtlasW2.Map"));
  EXPECT_EQ(list.Names().back(), "ProAtlasW2.Map");
}

TEST_F(MapObjectListTest, DeletingRenumbersTheValuesWithoutAGap) {
  list.LoadNames();
  list.AddName("Kitsune.Map");
  list.DeleteName(1);
  const std::vector<std::string> expected = {"ProAtlasW2.Map", "ProAtlasSV.Map", "Mapple.Document", "Kitsune.Map"};
  EXPECT_EQ(list.Names(), expected);
  EXPECT_EQ(StoredNames(), expected);
  EXPECT_EQ(StoredCount(), 4u);
  // Without a selection nothing goes, and the values are written again as they were.
  list.DeleteName(-1);
  EXPECT_EQ(StoredNames(), expected);
  // A deleted built-in name comes back at the next opening.
  list.LoadNames();
  EXPECT_EQ(list.Names(), Plus(kBuiltIns, {"Kitsune.Map"}));
}

TEST_F(MapObjectListTest, ChoosingStoresTheNameAndNoSelectionKeepsTheOldChoice) {
  list.LoadNames();
  EXPECT_EQ(list.Choose(2), "ProAtlasSV.Map");
  EXPECT_EQ(store.ReadString("MapObject"), "ProAtlasSV.Map");
  EXPECT_EQ(list.Choose(-1), "");
  EXPECT_EQ(store.ReadString("MapObject"), "ProAtlasSV.Map");
  EXPECT_EQ(list.ChosenEntry(), 2);
}

TEST_F(MapObjectListTest, WithoutWriteAccessToTheMachineKeyTheUserKeepsACopy) {
  PutString("MapObject00", "Admin.Map");
  PutString("MapObject", "Admin.Map");
  PutCount(1);
  registry.RefuseWriting(kMachine);
  // Reading alone makes no copy.
  EXPECT_EQ(store.ReadString("MapObject"), "Admin.Map");
  EXPECT_FALSE(registry.HasKey(kUser, kKey));

  list.LoadNames();
  EXPECT_EQ(list.Names(), Plus(kBuiltIns, {"Admin.Map"}));
  list.AddName("Mine.Map");
  EXPECT_EQ(list.Choose(5), "Mine.Map");
  // The machine's key is as the administrator left it; the user's holds the changes.
  EXPECT_EQ(StoredNames(kMachine), std::vector<std::string>{"Admin.Map"});
  EXPECT_EQ(StoredNames(kUser), Plus(kBuiltIns, {"Admin.Map", "Mine.Map"}));
  EXPECT_EQ(StoredCount(kUser), 6u);
  EXPECT_EQ(store.ReadString("MapObject"), "Mine.Map");
  list.LoadNames();
  EXPECT_EQ(list.ChosenEntry(), 5);
}

TEST_F(MapObjectListTest, WithWriteAccessTheUserKeyIsNeitherReadNorWritten) {
  PutString("MapObject", "Old.Map", kUser);
  list.LoadNames();
  list.Choose(0);
  EXPECT_EQ(store.ReadString("MapObject"), "ProAtlasW2.Map");
  EXPECT_EQ(registry.Values(kUser, kKey).size(), 1u);
}

TEST_F(MapObjectListTest, ValuesOfTheWrongTypeReadAsMissingAndLongNamesStayWhole) {
  const std::string longName(64 * 1024, 'N');
  registry.Put(kMachine, kKey, "o-cnt", {MemoryRegistry::Type::kString, "3", 0});
  EXPECT_EQ(store.ReadDword("o-cnt"), 0u);
  PutCount(3);
  registry.Put(kMachine, kKey, "MapObject00", {MemoryRegistry::Type::kDword, {}, 7});
  registry.Put(kMachine, kKey, "MapObject01", {MemoryRegistry::Type::kBinary, "Bin.Map", 0});
  PutString("MapObject02", longName);
  registry.Put(kMachine, kKey, "MapObject", {MemoryRegistry::Type::kBinary, longName, 0});
  list.LoadNames();
  // 00 and 01 read as empty names; the list stops at the first of them.
  EXPECT_EQ(list.Names(), kBuiltIns);
  EXPECT_EQ(StoredNames(), Plus(kBuiltIns, {"", "", longName}));
  EXPECT_EQ(list.ChosenEntry(), -1);
}

TEST_F(MapObjectListTest, AKeyThatCannotBeReadGivesTheBuiltInNames) {
  PutString("MapObject00", "Hidden.Map");
  PutCount(1);
  registry.RefuseReading(kMachine);
  registry.RefuseWriting(kMachine);
  list.LoadNames();
  EXPECT_EQ(list.Names(), kBuiltIns);
  EXPECT_EQ(store.ReadString("MapObject"), "");
  // What it holds is untouched; the user's copy starts from nothing.
  EXPECT_EQ(registry.Find(kMachine, kKey, "MapObject00")->text, "Hidden.Map");
  EXPECT_EQ(StoredNames(kUser), kBuiltIns);
}

}  // namespace
