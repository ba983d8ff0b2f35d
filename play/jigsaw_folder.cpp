// Loading a jigsaw folder (pieces.txt, table.txt, one PNG per piece, tn.png) into the piece tables, the median
// colour of a piece, and the reset of play flags before a jigsaw starts.
// Depends on files/files.h (streams, text numbers, LoadPixmap), draw/draw.h and game/game.h
// (notices, music, the preferences).
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "draw/draw.h"
#include "files/files.h"
#include "game/game.h"
#include "play/play.h"

namespace {

// Bounds on what a jigsaw folder may ask for. A piece larger than the large display cannot be
// played; real jigsaws hold well under 16 Ki pixels a piece (under a million pixels in all up to
// 300 pieces, about 20 million at 2000 pieces from a 12-megapixel photo).
constexpr int kMaxPieceWidth = 1024, kMaxPieceHeight = 768;
constexpr int64_t kJigsawPixelsPerPiece = 16384, kMinMaxJigsawPixels = 8000000;
// The piece files are held in memory together between their check and their decoding; even
// stored without compression, the largest jigsaw's pieces fit in this.
constexpr int64_t kJigsawFileBytesPerPiece = int64_t{64} << 10, kMinMaxJigsawFileBytes = int64_t{64} << 20;
// Home positions lie within a few table widths of the table, so that every sum and difference of
// positions and offsets stays far inside the integer range.
constexpr int64_t kMaxHomeDistance = 4096;
// The largest table a table.txt may give, on either side.
constexpr int kMaxTableSide = 32768;

int64_t MaxJigsawPixels(size_t pieces) {
  return std::max(kMinMaxJigsawPixels, static_cast<int64_t>(pieces) * kJigsawPixelsPerPiece);
}
int64_t MaxJigsawFileBytes(size_t pieces) {
  return std::max(kMinMaxJigsawFileBytes, static_cast<int64_t>(pieces) * kJigsawFileBytesPerPiece);
}

// What a folder brings for one piece; committed to the table only when the whole folder loaded.
struct staged_piece {
  std::shared_ptr<TImage> img;
  std::shared_ptr<TMemoryStream> file;  // the piece's picture file, read once
  int x0 = 0, y0 = 0, wd = 0, ht = 0;
  colour_type median;
};

int ReadNumber(TStream& stream) {
  return TextToInt(stream.ReadLine());
}

// The k-th smallest (k from 1) of the values counted in histogram.
int KthSmallest(const std::array<int32_t, 256>& histogram, int k) {
  int seen = 0;
  for (int v = 0; v < 256; v++) {
    seen += histogram[v];
    if (seen >= k) return v;
  }
  return 255;
}

// A line far longer than any number: the file is not read further.
std::string OverlongLineFault(const std::string& path) {
  return path + " has a line longer than " + std::to_string(TShortLineStream::kLongestLine) + " bytes";
}

// The table of the folder into width and height: table.txt's two lines when the file is there
// (sides below the window's count as the window's), else 800 x 600. Why the file cannot be used,
// or "".
std::string ReadTable(const std::string& folder, int& width, int& height) {
  const std::string path = folder + "/table.txt";
  width = 800;
  height = 600;
  if (EntryKind(path) == entry_kind::none) return "";
  const std::shared_ptr<TShortLineStream> stream = ReadShortLines(path);
  if (!stream) return FileFault(path);
  const int w = ReadNumber(*stream), h = ReadNumber(*stream);
  CloseStream(stream);
  if (stream->overlong) return OverlongLineFault(path);
  if (w > kMaxTableSide || h > kMaxTableSide) {
    return path + " gives a table of " + std::to_string(w) + " x " + std::to_string(h) +
           " pixels; a table is at most " + std::to_string(kMaxTableSide) + " pixels across";
  }
  width = std::max(w, width);
  height = std::max(h, height);
  return "";
}

std::string PiecePath(const std::string& folder, int i) {
  return folder + "/" + std::to_string(i) + ".png";
}

// Why the staged folder cannot be played on a table_width x table_height table, found before any
// pixel is decoded; "" when it can. Reads each piece file into its staged piece. Home positions
// far off the table would make the joining arithmetic overflow, and a piece larger than the
// display, or a folder of pieces that together hold far more pixels or bytes than any real jigsaw
// of their count, would exhaust memory.
std::string FolderFault(const std::string& folder, std::vector<staged_piece>& staged,
                        int table_width, int table_height) {
  const auto off_table = [](int64_t at, int64_t side) {
    return at < -kMaxHomeDistance || at > side + kMaxHomeDistance;
  };
  for (size_t i = 1; i < staged.size(); i++) {
    const staged_piece& piece = staged[i];
    if (off_table(piece.x0, table_width) || off_table(piece.y0, table_height)) {
      return folder + "/pieces.txt gives piece " + std::to_string(i) + " the home position (" +
             std::to_string(piece.x0) + ", " + std::to_string(piece.y0) +
             "); a home position lies at most " + std::to_string(kMaxHomeDistance) +
             " pixels off the " + std::to_string(table_width) + " x " +
             std::to_string(table_height) + " table";
    }
  }
  const int64_t max_pixels = MaxJigsawPixels(staged.size() - 1);
  const int64_t max_bytes = MaxJigsawFileBytes(staged.size() - 1);
  int64_t pixels = 0;
  int64_t bytes = 0;
  for (size_t i = 1; i < staged.size(); i++) {
    const std::string path = PiecePath(folder, static_cast<int>(i));
    int64_t size = 0;
    staged[i].file = TMemoryStream::ReadFile(path, max_bytes - bytes, size);
    if (size < 0) return FileFault(path);
    if (!staged[i].file) {
      return "the piece files of " + folder + " together hold over " +
             std::to_string(max_bytes >> 20) + " MiB, more than a jigsaw of " +
             std::to_string(staged.size() - 1) + " pieces may hold";
    }
    bytes += size;
    int32_t width = 0, height = 0;
    if (!ReadPixmapSize(*staged[i].file, width, height)) return FileFault(path);
    if (width > kMaxPieceWidth || height > kMaxPieceHeight) {
      return path + " is " + std::to_string(width) + " x " + std::to_string(height) +
             " pixels; a piece may be at most " + std::to_string(kMaxPieceWidth) + " x " +
             std::to_string(kMaxPieceHeight);
    }
    pixels += int64_t{width} * height;
  }
  if (pixels > max_pixels) {
    return "the pieces of " + folder + " together hold " +
           std::to_string((pixels + 999999) / 1000000) + " million pixels; a jigsaw of " +
           std::to_string(staged.size() - 1) + " pieces may hold at most " +
           std::to_string(max_pixels / 1000000) + " million";
  }
  return "";
}

bool IsBorderCell(int j, int k) {
  return j == 1 || j == play.rows || k == 1 || k == play.cols;
}

// The median colour from the counts of a piece's non-black pixels (black is the transparent
// surround). Counting instead of sorting: the order of visits does not change a median.
colour_type MedianOf(const kept_colour_counts& counts) {
  int m = 0;  // the pixels counted
  for (int count : counts.red) m += count;
  if (m < 2) return {};
  return {KthSmallest(counts.red, m / 2), KthSmallest(counts.green, m / 2),
          KthSmallest(counts.blue, m / 2)};
}

void CountNonBlack(kept_colour_counts& counts, unsigned r, unsigned g, unsigned b) {
  if ((r | g | b) == 0) return;
  counts.red[r]++;
  counts.green[g]++;
  counts.blue[b]++;
}

}  // namespace

colour_type PieceMedianColour(const TPixmap& pixmap) {
  kept_colour_counts counts;
  // Decoded pieces are 3- or 4-byte colour; reading their bytes a row at a time keeps the load
  // close to the cost of decoding. Other formats go through ReadPixel.
  const bool rgb_order = pixmap.format == PF_RGB888 || pixmap.format == PF_RGBA8888;
  const bool bgr_order = pixmap.format == PF_BGR888 || pixmap.format == PF_BGRA8888;
  if (!rgb_order && !bgr_order) {
    for (int y = 0; y < pixmap.height; y++) {
      for (int x = 0; x < pixmap.width; x++) {
        const uint32_t p = pixmap.ReadPixel(x, y);
        CountNonBlack(counts, ARGBRed(p), ARGBGreen(p), ARGBBlue(p));
      }
    }
    return MedianOf(counts);
  }
  const int step = BytesPerPixel(pixmap.format);
  const int red = rgb_order ? 0 : 2, blue = rgb_order ? 2 : 0;
  for (int y = 0; y < pixmap.height; y++) {
    const uint8_t* p = pixmap.pixels + static_cast<ptrdiff_t>(y) * pixmap.pitch;
    for (int x = 0; x < pixmap.width; x++, p += step) CountNonBlack(counts, p[red], p[1], p[blue]);
  }
  return MedianOf(counts);
}

bool LoadJigsawFolder(const std::string& name) {
  const std::string folder = "jigsaws/" + name;
  const std::string list_path = folder + "/pieces.txt";
  const std::shared_ptr<TShortLineStream> stream = ReadShortLines(list_path);
  if (!stream) {
    ShowErrorAndWait(FileFault(list_path));
    return false;
  }
  const int rows = ReadNumber(*stream);
  const int cols = ReadNumber(*stream);
  const int64_t count = static_cast<int64_t>(rows) * cols;
  if (rows < 1 || cols < 1 || count > kMaxPieces) {
    CloseStream(stream);
    ShowErrorAndWait(stream->overlong ? OverlongLineFault(list_path)
                                      : list_path + " has " + std::to_string(rows) + " rows and " +
                                            std::to_string(cols) + " columns; a jigsaw has 1 to " +
                                            std::to_string(kMaxPieces) + " pieces");
    return false;
  }
  stream->ReadLine();  // two lines that are not used
  stream->ReadLine();

  std::vector<staged_piece> staged(count + 1);
  for (int i = 1; i <= count; i++) {
    staged[i].x0 = ReadNumber(*stream);
    staged[i].y0 = ReadNumber(*stream);
  }
  colour_type colour = game.prefs.pref_keep_colour ? play.table_colour : colour_type{115, 8, 33};
  if (!stream->Eof()) {
    colour.r = std::clamp(ReadNumber(*stream), 0, 255);
    colour.g = std::clamp(ReadNumber(*stream), 0, 255);
    colour.b = std::clamp(ReadNumber(*stream), 0, 255);
  }
  CloseStream(stream);
  int table_width = 0, table_height = 0;
  std::string fault = stream->overlong ? OverlongLineFault(list_path) : ReadTable(folder, table_width, table_height);
  if (fault.empty()) fault = FolderFault(folder, staged, table_width, table_height);
  if (!fault.empty()) {
    ShowErrorAndWait(fault);
    return false;
  }

  int mask_r, mask_g, mask_b;
  GetMaskColor(mask_r, mask_g, mask_b);
  const bool black_mask = (mask_r | mask_g | mask_b) == 0;
  for (int i = 1; i <= count; i++) {
    staged_piece& piece = staged[i];
    const std::string path = PiecePath(folder, i);
    // Decoded once. With the usual black mask the median is counted in the masking pass, as the
    // kept pixels are exactly the non-black ones; the masked pixmap has alpha, so the image
    // takes it as it is.
    std::shared_ptr<TPixmap> pixmap = LoadPixmap(piece.file);
    piece.file.reset();
    if (!pixmap) {
      ShowErrorAndWait(FileFault(path));
      return false;
    }
    if (black_mask && !FormatHasAlpha(pixmap->format)) {
      kept_colour_counts counts;
      pixmap = MaskPixmap(pixmap, 0, 0, 0, &counts);
      piece.median = MedianOf(counts);
    } else {
      piece.median = PieceMedianColour(*pixmap);
    }
    piece.img = TImage::Load(pixmap, MaskedImage | FilteredImage, mask_r, mask_g, mask_b);
    MidHandleImage(piece.img);
    piece.wd = ImageWidth(piece.img);
    piece.ht = ImageHeight(piece.img);
  }

  const std::string thumb_path = folder + "/tn.png";
  const std::shared_ptr<TImage> thumb = LoadImage(thumb_path, 0);

  // The whole folder has loaded: only now does it replace the jigsaw in play.
  play.jigsaw_folder = folder;
  play.jigsaw_name = name;
  play.rows = rows;
  play.cols = cols;
  play.piece_count = static_cast<int>(count);
  play.table_colour = colour;
  // The tables grow with the jigsaw and never hold fewer than 300 records.
  const size_t records = static_cast<size_t>(std::max<int64_t>(count, 300)) + 1;
  play.pieces.resize(records);
  play.draw_order.resize(records);
  play.view = view_type{};  // the first frame shows the new table from its home
  NoteTableMoved();
  play.table_width = table_width;
  play.table_height = table_height;
  for (int j = 1; j <= rows; j++) {
    for (int k = 1; k <= cols; k++) {
      const int i = CellPiece(j, k);
      piece_type& piece = play.pieces[i];
      piece.img = std::move(staged[i].img);
      piece.x0 = staged[i].x0;
      piece.y0 = staged[i].y0;
      piece.wd = staged[i].wd;
      piece.ht = staged[i].ht;
      piece.r = staged[i].median.r;
      piece.g = staged[i].median.g;
      piece.b = staged[i].median.b;
      piece.n = CellPiece(j - 1, k);
      piece.e = CellPiece(j, k + 1);
      piece.w = CellPiece(j, k - 1);
      piece.s = CellPiece(j + 1, k);
      piece.edge = IsBorderCell(j, k) ? 1 : 0;
      piece.gp = 0;
      piece.visible = 1;
      play.draw_order[i] = i;
    }
  }
  // A piece carried from the previous jigsaw would name a record of this one.
  play.dragged = 0;
  play.thumb = thumb;
  play.thumb_width = thumb ? ImageWidth(thumb) : 0;
  play.thumb_height = thumb ? ImageHeight(thumb) : 0;
  play.thumb_shown = 0;
  play.thumb_x = 10;
  play.thumb_y = 10;
  play.thumb_grab_dx = 0;
  play.thumb_grab_dy = 0;
  play.thumb_dragging = 0;
  play.last_group = 0;
  if (!thumb) ShowErrorAndWait(FileFault(thumb_path));  // the jigsaw plays without it
  return true;
}

void ResetPlayState() {
  StopMusic();
  play_hooks.jigsaw_reset.Call();
  play.thumb_shown = 0;
  play.swatch_shown = 0;
  play.dragged = 0;
  play.completion_handled = 0;
  // Undoes the spreading of edge over groups.
  for (int j = 1; j <= play.rows; j++)
    for (int k = 1; k <= play.cols; k++)
      play.pieces[CellPiece(j, k)].edge = IsBorderCell(j, k) ? 1 : 0;
  play.grouped_shown = 1;
  play.loose_shown = 1;
}
