// The web tiles' rules without a network: templates, tile arithmetic, the cache's index and
// cap, the fetch order and the offline retry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quorvin/fetch_queue.h"
#include "quorvin/tile_cache_index.h"
#include "quorvin/tile_source.h"

namespace {

TEST(TileSource, TemplatesAreCheckedAndFilledIn) {
  struct Case {
    std::string url;
    bool usable;
  };
  const Case cases[] = {
      {"https://cyberjapandata.gsi.go.jp/xyz/std/{z}/{x}/{y}.png", true},
      {"HTTP://127.0.0.1:8080/t/{z}/{x}/{y}", true},
      {"http://example.org/{x}/{y}.png", false},  // no {z}
      {"http://example.org/{z}/{y}.png", false},
      {"ftp://example.org/{z}/{x}/{y}.png", false},
      {"https:///{z}/{x}/{y}", false},  // no host
      {"C:\\tiles", false},
  };
  for (const Case& c : cases) EXPECT_EQ(!TemplateFault(c.url).has_value(), c.usable) << c.url;
  EXPECT_EQ(*TemplateFault("http://example.org/{x}/{y}.png"), "タイルのURLに {z} がありません");
  EXPECT_TRUE(LooksLikeUrl("https://x"));
  EXPECT_FALSE(LooksLikeUrl("ProAtlasW3.Map"));

  EXPECT_EQ(TileUrl(StandardSources()[0].location, {14, 14552, 6451}),
            "https://cyberjapandata.gsi.go.jp/xyz/std/14/14552/6451.png");
  EXPECT_EQ(TileUrl("http://h/{z}/{z}-{x}/{y}{", {3, 1, 2}), "http://h/3/3-1/2{");

  // Fixed folders for the survey's maps, a stable hash for any other template.
  EXPECT_EQ(StandardSources()[2].cacheName, "seamlessphoto");
  const TileSource custom = WebSource("http://127.0.0.1:8080/t/{z}/{x}/{y}");
  EXPECT_EQ(custom.cacheName.size(), 8u);
  EXPECT_EQ(custom.cacheName, WebSource("http://127.0.0.1:8080/t/{z}/{x}/{y}").cacheName);
  EXPECT_NE(custom.cacheName, WebSource("http://127.0.0.1:8080/u/{z}/{x}/{y}").cacheName);
  EXPECT_EQ(custom.attribution, "127.0.0.1");
  for (const TileSource& source : StandardSources()) {
    EXPECT_EQ(source.attribution, source.kind == TileSource::Kind::kWeb ? "出典：国土地理院" : "Natural Earth");
  }
}

TEST(TileSource, TileArithmetic) {
  MapView view;
  view.Resize(512, 256);
  view.SetCentre(Project({139.7671, 35.6812}));
  for (int i = 0; i < 9; ++i) view.ZoomAt(1, {256, 128});
  ASSERT_EQ(view.Zoom(), 14);
  const TileRange range = VisibleTiles(view, 14);
  // Tokyo Station's tile 14/14552/6451 is in view, and the area is 2 x 1 tiles wide, so
  // 3 x 2 tiles at most touch it.
  EXPECT_LE(range.firstX, 14552);
  EXPECT_GE(range.lastX, 14552);
  EXPECT_LE(range.firstY, 6451);
  EXPECT_GE(range.lastY, 6451);
  EXPECT_LE(range.Count(), 6u);
  EXPECT_GE(range.Count(), 2u);

  EXPECT_EQ(WrapColumn(-1, 3), 7);
  EXPECT_EQ(WrapColumn(8, 3), 0);
  EXPECT_FALSE(TileZoomFor(StandardSources()[0], 4));  // the standard map starts at 5
  EXPECT_EQ(TileZoomFor(StandardSources()[0], 19), 18);  // the last zoom drawn larger
  EXPECT_EQ(TileZoomFor(StandardSources()[2], 4), 4);

  // One tile at zoom z is four at z+1: an area of one tile from 10 to 12 is 1+4+16.
  const double tile10 = 1.0 / 1024;
  const WorldPoint topLeft{900 * tile10 + 1e-9, 400 * tile10 + 1e-9};
  const WorldPoint bottomRight{901 * tile10 - 1e-9, 401 * tile10 - 1e-9};
  EXPECT_EQ(CountTilesToSave(topLeft, bottomRight, 10, 12), 21u);
  // A view wider than the world counts each tile once.
  EXPECT_EQ(CountTilesToSave({-0.5, 0}, {1.5, 1}, 1, 1), 4u);
  const std::vector<TileKey> tiles = TilesToSave(topLeft, bottomRight, 10, 12);
  ASSERT_EQ(tiles.size(), 21u);
  EXPECT_EQ(tiles.front(), (TileKey{10, 900, 400}));
  EXPECT_EQ(tiles.back(), (TileKey{12, 3603, 1603}));
  EXPECT_EQ(TilesToSave({-0.25, 0}, {0.25, 0.4}, 1, 1), (std::vector<TileKey>{{1, 1, 0}, {1, 0, 0}}));
}

TEST(TileSource, SavingRefusesTooManyTilesAndWhatPassesTheCap) {
  struct Case {
    std::uint64_t tiles, bytesEach, savedBytes, capBytes;
    bool refused;
  };
  const Case cases[] = {
      {20000, 20000, 0, 500ull << 20, false},
      {20001, 1, 0, 500ull << 20, true},
      {1000, 20000, 490ull << 20, 500ull << 20, true},  // with what is saved already
      {1000, 20000, 400ull << 20, 500ull << 20, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SaveRefusal(c.tiles, c.bytesEach, c.savedBytes, c.capBytes).has_value(), c.refused) << c.tiles;
}

TileKey Key(int n) { return {10, n, 0}; }

TEST(TileCacheIndex, HoldsItsCapByLeastRecentUseAndNeverDropsSavedTiles) {
  TileCacheIndex index(300);
  EXPECT_TRUE(index.Store(Key(1), 100, 0, false).empty());
  EXPECT_TRUE(index.Store(Key(2), 100, 0, false).empty());
  EXPECT_TRUE(index.Store(Key(3), 100, 0, true).empty());
  index.Touch(Key(1));  // 2 is now the least recently drawn
  EXPECT_EQ(index.Store(Key(4), 100, 0, false), std::vector<TileKey>{Key(2)});
  EXPECT_EQ(index.Store(Key(5), 100, 0, false), std::vector<TileKey>{Key(1)});
  EXPECT_EQ(index.TotalBytes(), 300u);
  EXPECT_EQ(index.SavedBytes(), 100u);
  // Lowering the cap drops unsaved tiles only; the saved one stays even above the cap.
  EXPECT_EQ(index.SetCap(50), (std::vector<TileKey>{Key(4), Key(5)}));
  ASSERT_TRUE(index.Find(Key(3)));
  // A tile bigger than the cap is still kept itself, as the last one stored.
  EXPECT_TRUE(index.Store(Key(6), 80, 0, false).empty());
  EXPECT_TRUE(index.Find(Key(6)));
  // Fetching a saved tile again keeps its pin; forgetting the unsaved ones leaves it.
  EXPECT_EQ(index.Store(Key(3), 120, 5, false), std::vector<TileKey>{Key(6)});
  EXPECT_TRUE(index.Find(Key(3))->saved);
  index.SetCap(1000);
  index.Store(Key(7), 10, 0, false);
  EXPECT_EQ(index.ForgetUnsaved(), std::vector<TileKey>{Key(7)});
  EXPECT_EQ(index.TotalBytes(), 120u);
  EXPECT_EQ(index.Count(), 1u);
}

TEST(TileCacheIndex, KnowsStaleTilesAndSurvivesItsFileAndASecondHelper) {
  TileCacheIndex index(1000);
  index.Store({12, 3, 4}, 10, 1000, false);
  index.Store({12, 3, 5}, 20, 1000, true);
  EXPECT_FALSE(index.IsStale({12, 3, 4}, 1000 + kTileRefreshAge));
  EXPECT_TRUE(index.IsStale({12, 3, 4}, 1001 + kTileRefreshAge));
  EXPECT_FALSE(index.IsStale({12, 9, 9}, 1 << 30));  // not cached: nothing to refresh

  // The file: a damaged line costs that line only.
  TileCacheIndex loaded(1000);
  EXPECT_TRUE(loaded.Parse(index.Serialise() + "12 3\nzz\n40 1 1 5 0 0 0\n5 40 0 5 0 0 0\n5 1 1 5 0 0 2\n").empty());
  EXPECT_EQ(loaded.Count(), 2u);
  EXPECT_EQ(loaded.SavedBytes(), 20u);
  EXPECT_EQ(loaded.Find({12, 3, 4})->fetchedAt, 1000);

  // Another helper fetched one more tile and the first again, and drew the first since;
  // merging takes the later fetch and holds the cap by the later use.
  TileCacheIndex other(1000);
  other.Store({12, 3, 4}, 15, 2000, false);
  other.Store({12, 7, 7}, 970, 2000, false);
  other.Touch({12, 3, 4});
  EXPECT_EQ(loaded.Merge(other), (std::vector<TileKey>{{12, 7, 7}}));
  ASSERT_TRUE(loaded.Find({12, 3, 4}));
  EXPECT_EQ(loaded.Find({12, 3, 4})->bytes, 15u);
  EXPECT_EQ(loaded.Find({12, 3, 4})->fetchedAt, 2000);
  EXPECT_TRUE(loaded.Find({12, 3, 5})->saved);
  EXPECT_LE(loaded.TotalBytes(), 1000u);
}

TEST(FetchQueue, LatestFirstBoundedAndDropsWhatLeftTheView) {
  FetchQueue queue(3);
  EXPECT_TRUE(queue.Push(Key(1)));
  EXPECT_TRUE(queue.Push(Key(2)));
  EXPECT_FALSE(queue.Push(Key(2)));
  EXPECT_TRUE(queue.Push(Key(3)));
  EXPECT_TRUE(queue.Push(Key(4)));  // full: 1, the longest waiting, goes
  EXPECT_EQ(queue.Waiting(), 3u);
  EXPECT_FALSE(queue.IsPending(Key(1)));
  EXPECT_EQ(queue.Pop(), Key(4));
  EXPECT_FALSE(queue.Push(Key(4)));  // being fetched
  queue.Done(Key(4));
  EXPECT_TRUE(queue.Push(Key(4)));
  queue.Retain([](TileKey key) { return key.x != 3; });
  EXPECT_EQ(queue.Pop(), Key(4));
  EXPECT_EQ(queue.Pop(), Key(2));
  EXPECT_EQ(queue.Pop(), std::nullopt);
}

TEST(ConnectionState, OfflineTriesAgainAtMostOnceAMinute) {
  ConnectionState state;
  EXPECT_TRUE(state.TakeTry(0));
  EXPECT_TRUE(state.TakeTry(0));
  state.CouldNotConnect(100);
  EXPECT_TRUE(state.Offline());
  EXPECT_FALSE(state.TakeTry(130));
  EXPECT_FALSE(state.TakeTry(159));
  EXPECT_TRUE(state.TakeTry(160));
  EXPECT_FALSE(state.TakeTry(161));  // one try a minute, not one per request
  state.CouldNotConnect(161);
  EXPECT_FALSE(state.TakeTry(220));
  EXPECT_TRUE(state.TakeTry(221));
  state.Connected();
  EXPECT_FALSE(state.Offline());
  EXPECT_TRUE(state.TakeTry(222));
}

}  // namespace
