#pragma once
// The map pages: for each page (col, row), 0..1999 each way, a base layer and a track layer stored as 8-bit
// palette indexes in 32 x 32 tiles. A tile is allocated on its first ink; a page without ink takes no memory
// beyond its table entry, and a page that was never inked takes none at all. The grid is not stored: it is drawn
// when a page is composed, so a base tile holds only what was drawn over the grid.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace obrix {

enum class MapLayer { Base = 0, Track = 1 };

inline constexpr int kPageCount = 2000;  // columns and rows 0..1999
inline constexpr int kOriginPage = 1000;
inline constexpr int kTileSide = 32;
inline constexpr int kTilePixels = kTileSide * kTileSide;

inline bool PageInTable(long long col, long long row) {
  return col >= 0 && col < kPageCount && row >= 0 && row < kPageCount;
}

class PageStore {
 public:
  PageStore() = default;
  PageStore(const PageStore&) = delete;
  PageStore& operator=(const PageStore&) = delete;

  // A new page size drops every page (their pixels no longer fit).
  void SetPageSize(int width, int height);
  int width() const { return width_; }
  int height() const { return height_; }
  int tilesAcross() const { return tilesX_; }
  int tilesDown() const { return tilesY_; }

  // Sets one pixel; pixels outside the page or pages outside the table are ignored. kNoInk on a tile that does
  // not exist allocates nothing.
  void Put(int col, int row, MapLayer layer, int x, int y, uint8_t index);
  // Tile (tx, ty) of a page layer for writing pixels directly: made (zeroed) when `allocate`, otherwise null
  // while it holds no ink. Writes through it do not count as base-layer changes: for track layers.
  uint8_t* TrackTile(int col, int row, int tx, int ty, bool allocate);
  // 0 (no ink) where nothing was drawn.
  uint8_t At(int col, int row, MapLayer layer, int x, int y) const;
  // Tile (tx, ty) of a page layer, null when it holds no ink.
  const uint8_t* Tile(int col, int row, MapLayer layer, int tx, int ty) const;
  // Counts changes of a page's base layer (composition caches compare it).
  uint32_t BaseGeneration(int col, int row) const;

  // Drops one layer of every page, or everything.
  void ClearLayer(MapLayer layer);
  void Clear();
  bool empty() const { return pages_.empty(); }

  // Track-layer tiles written (or handed out for writing) since the last ForgetTrackChanges, so that a shown
  // view can be brought up to date tile by tile; `trackChangesKnown` is false once the record overflowed or pages
  // were dropped or resized since.
  struct TileRef {
    int col, row, tx, ty;
    friend bool operator==(const TileRef&, const TileRef&) = default;
  };
  const std::vector<TileRef>& trackChanges() const { return trackChanges_; }
  bool trackChangesKnown() const { return trackChangesKnown_; }
  void ForgetTrackChanges() {
    trackChanges_.clear();
    trackChangesKnown_ = true;
  }

  std::size_t PageCount() const { return pages_.size(); }
  std::size_t TileCount() const { return tileCount_; }
  // Memory held by the tiles and the tile tables.
  std::size_t Bytes() const;

 private:
  struct Page {
    std::vector<std::unique_ptr<uint8_t[]>> layers[2];
    uint32_t baseGeneration = 0;
  };
  static int Key(int col, int row) { return col * kPageCount + row; }
  // The page, made when `allocate`; null otherwise when missing.
  Page* Reach(int col, int row, bool allocate);
  const Page* Find(int col, int row) const;
  void NoteTrackChange(int col, int row, int tx, int ty);
  void LoseTrackChanges() {
    trackChanges_.clear();
    trackChangesKnown_ = false;
  }

  int width_ = 0, height_ = 0, tilesX_ = 0, tilesY_ = 0;
  std::size_t tileCount_ = 0;
  uint32_t generation_ = 0;  // keeps base generations rising across clears
  std::unordered_map<int, Page> pages_;
  // The page of the last Put (element pointers survive rehashing; cleared wherever pages are erased).
  int lastKey_ = -1;
  Page* lastPage_ = nullptr;
  std::vector<TileRef> trackChanges_;
  bool trackChangesKnown_ = false;
};

}  // namespace obrix
