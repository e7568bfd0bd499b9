#include "map/page_store.h"

#include <algorithm>

namespace obrix {

void PageStore::SetPageSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  Clear();
  width_ = width;
  height_ = height;
  tilesX_ = (width + kTileSide - 1) / kTileSide;
  tilesY_ = (height + kTileSide - 1) / kTileSide;
}

const PageStore::Page* PageStore::Find(int col, int row) const {
  if (!PageInTable(col, row)) return nullptr;
  const auto it = pages_.find(Key(col, row));
  return it == pages_.end() ? nullptr : &it->second;
}

PageStore::Page* PageStore::Reach(int col, int row, bool allocate) {
  const int key = Key(col, row);
  if (key != lastKey_ || lastPage_ == nullptr) {
    auto it = pages_.find(key);
    if (it == pages_.end()) {
      if (!allocate) return nullptr;
      it = pages_.emplace(key, Page{}).first;
      it->second.baseGeneration = ++generation_;
    }
    lastKey_ = key;
    lastPage_ = &it->second;
  }
  return lastPage_;
}

void PageStore::NoteTrackChange(int col, int row, int tx, int ty) {
  if (!trackChangesKnown_) return;
  const TileRef ref{col, row, tx, ty};
  if (!trackChanges_.empty() && trackChanges_.back() == ref) return;
  // A swath step touches a handful of tiles; this many means a redraw, for which the whole view is composed.
  constexpr std::size_t kMaxChanges = 1024;
  if (trackChanges_.size() >= kMaxChanges) return LoseTrackChanges();
  trackChanges_.push_back(ref);
}

uint8_t* PageStore::TrackTile(int col, int row, int tx, int ty, bool allocate) {
  if (!PageInTable(col, row) || tx < 0 || ty < 0 || tx >= tilesX_ || ty >= tilesY_) return nullptr;
  NoteTrackChange(col, row, tx, ty);
  Page* page = Reach(col, row, allocate);
  if (page == nullptr) return nullptr;
  auto& tiles = page->layers[int(MapLayer::Track)];
  if (tiles.empty()) {
    if (!allocate) return nullptr;
    tiles.resize(std::size_t(tilesX_) * std::size_t(tilesY_));
  }
  std::unique_ptr<uint8_t[]>& tile = tiles[std::size_t(ty) * std::size_t(tilesX_) + std::size_t(tx)];
  if (!tile && allocate) {
    tile = std::make_unique<uint8_t[]>(kTilePixels);  // zeroed: no ink
    ++tileCount_;
  }
  return tile.get();
}

void PageStore::Put(int col, int row, MapLayer layer, int x, int y, uint8_t index) {
  if (!PageInTable(col, row) || x < 0 || y < 0 || x >= width_ || y >= height_) return;
  const int t = (y / kTileSide) * tilesX_ + x / kTileSide;
  const int l = int(layer);
  Page* reached = Reach(col, row, index != 0);
  if (reached == nullptr) return;
  Page& page = *reached;
  auto& tiles = page.layers[l];
  if (tiles.empty()) {
    if (index == 0) return;
    tiles.resize(std::size_t(tilesX_) * std::size_t(tilesY_));
  }
  std::unique_ptr<uint8_t[]>& tile = tiles[std::size_t(t)];
  if (!tile) {
    if (index == 0) return;
    tile = std::make_unique<uint8_t[]>(kTilePixels);  // zeroed: no ink
    ++tileCount_;
  }
  uint8_t& pixel = tile[(y % kTileSide) * kTileSide + x % kTileSide];
  if (pixel != index && layer == MapLayer::Base) page.baseGeneration = ++generation_;
  if (pixel != index && layer == MapLayer::Track) NoteTrackChange(col, row, x / kTileSide, y / kTileSide);
  pixel = index;
}

uint8_t PageStore::At(int col, int row, MapLayer layer, int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  const uint8_t* tile = Tile(col, row, layer, x / kTileSide, y / kTileSide);
  return tile ? tile[(y % kTileSide) * kTileSide + x % kTileSide] : 0;
}

const uint8_t* PageStore::Tile(int col, int row, MapLayer layer, int tx, int ty) const {
  const Page* page = Find(col, row);
  if (page == nullptr || tx < 0 || ty < 0 || tx >= tilesX_ || ty >= tilesY_) return nullptr;
  const auto& tiles = page->layers[int(layer)];
  if (tiles.empty()) return nullptr;
  return tiles[std::size_t(ty) * std::size_t(tilesX_) + std::size_t(tx)].get();
}

uint32_t PageStore::BaseGeneration(int col, int row) const {
  const Page* page = Find(col, row);
  return page ? page->baseGeneration : 0;
}

void PageStore::ClearLayer(MapLayer layer) {
  const int l = int(layer);
  LoseTrackChanges();
  for (auto it = pages_.begin(); it != pages_.end();) {
    Page& page = it->second;
    for (const auto& tile : page.layers[l]) tileCount_ -= tile ? 1 : 0;
    page.layers[l].clear();
    page.layers[l].shrink_to_fit();
    if (layer == MapLayer::Base) page.baseGeneration = ++generation_;
    if (page.layers[0].empty() && page.layers[1].empty()) {
      lastPage_ = nullptr;
      it = pages_.erase(it);
    } else {
      ++it;
    }
  }
}

void PageStore::Clear() {
  LoseTrackChanges();
  lastPage_ = nullptr;
  pages_.clear();
  tileCount_ = 0;
  ++generation_;
}

std::size_t PageStore::Bytes() const {
  std::size_t bytes = tileCount_ * kTilePixels;
  for (const auto& [key, page] : pages_) {
    bytes += sizeof(Page) + 2 * sizeof(void*);
    for (const auto& layer : page.layers) bytes += layer.capacity() * sizeof(layer[0]);
  }
  return bytes;
}

}  // namespace obrix
