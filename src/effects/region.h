// Region: a set of pixels kept as horizontal bands of sorted x-spans.
//
// A region is a list of bands, top to bottom. A band covers the rows top..bottom-1 and
// holds one or more spans [x0, x1) that are sorted, do not overlap and do not touch.
// Bands do not overlap; two bands that touch and hold equal spans are merged, and no
// band is empty. This canonical form makes two regions of the same pixels compare equal.
//
// Coordinates are pixels, (0, 0) the top-left corner of the picture, x right, y down.
// Every rectangle is (left, top, right, bottom) and half-open: it holds its left and top
// edges and not its right and bottom edges. Regions are not limited to the picture: a
// shape may reach far outside it; drawing through a region cuts it at the picture's edges
// (see draw_ops.h). A rectangle, ellipse or rounded rectangle whose width or height is zero
// or negative is the empty region.
//
// Pixel coverage of curved and slanted edges: a pixel belongs to a shape when its centre
// (x + 0.5, y + 0.5) lies inside the shape; a centre exactly on a polygon edge belongs to
// the shape when the edge is a left or top edge (the half-open rule of rectangles).
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace kx {

// Integer division rounded down (FloorDiv) or up (CeilDiv), for a divisor of either sign
// (b != 0). The exact edge tests of the shapes and the clipping of scaled and turned blocks
// are written with them.
constexpr int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if ((a % b) != 0 && ((a < 0) != (b < 0))) --q;
  return q;
}
constexpr int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

struct RectI {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool operator==(const RectI&) const = default;
};

struct Span {
  int X0 = 0, X1 = 0;  // columns X0..X1-1
  bool operator==(const Span&) const = default;
};

class Region {
 public:
  struct Band {
    int Top = 0, Bottom = 0;  // rows Top..Bottom-1
    int First = 0, Count = 0;  // its spans: Spans()[First .. First+Count-1]
  };

  Region() = default;  // the empty region

  // --- Shapes -------------------------------------------------------------------------
  static Region Rect(int left, int top, int right, int bottom);
  static Region Rect(const RectI& r) { return Rect(r.Left, r.Top, r.Right, r.Bottom); }
  // The ellipse inscribed in the rectangle.
  static Region Ellipse(int left, int top, int right, int bottom);
  // The rectangle with its corners rounded by quarter ellipses ellipseW wide and ellipseH
  // high. An ellipse width (height) larger than the rectangle's width (height) is reduced
  // to it, so a huge ellipse gives a rectangle with a fully curved end.
  static Region RoundRect(int left, int top, int right, int bottom, int ellipseW, int ellipseH);
  // A polygon filled by the non-zero winding rule. xy holds x0, y0, x1, y1, ... for
  // pointCount points; the last point joins the first. Fewer than 3 points: empty.
  static Region Polygon(const int* xy, int pointCount);
  // The same for a list written in place: Polygon({x0, y0, x1, y1, ...}).
  static Region Polygon(std::initializer_list<int> xy) {
    return Polygon(xy.begin(), static_cast<int>(xy.size() / 2));
  }
  // The union of a list of rectangles, built in one sweep (no pairwise combining).
  // Rectangles with zero or negative width or height add nothing.
  static Region FromRects(const RectI* rects, int count);

  // --- Combining ----------------------------------------------------------------------
  static Region Union(const Region& a, const Region& b);
  static Region Intersect(const Region& a, const Region& b);
  static Region Xor(const Region& a, const Region& b);       // symmetric difference
  static Region Subtract(const Region& a, const Region& b);  // a without b

  // In-place forms, as the effects combine shapes "into the first".
  Region& UnionWith(const Region& o) { return *this = Union(*this, o); }
  Region& IntersectWith(const Region& o) { return *this = Intersect(*this, o); }
  Region& XorWith(const Region& o) { return *this = Xor(*this, o); }
  // Removes the rectangle (left, top, right, bottom) from the region.
  Region& ExcludeRect(int left, int top, int right, int bottom) {
    return *this = Subtract(*this, Rect(left, top, right, bottom));
  }
  // Moves every pixel by (dx, dy).
  void Offset(int dx, int dy);

  // --- Queries ------------------------------------------------------------------------
  bool IsEmpty() const { return bands_.empty(); }
  // The smallest rectangle holding every pixel; (0, 0, 0, 0) when empty.
  RectI Bounds() const { return bounds_; }
  bool Contains(int x, int y) const;
  int64_t Area() const;  // number of pixels

  const std::vector<Band>& Bands() const { return bands_; }
  const std::vector<Span>& Spans() const { return spans_; }

  // Checks the canonical form (sorted, non-touching spans, merged bands, bounds).
  bool IsValid() const;

  bool operator==(const Region& o) const;

  // Building a region band by band, top to bottom; used by the shape builders and the
  // combining operations. Spans must be sorted and must not overlap (touching spans are
  // joined); a band starting below the previous band's bottom leaves a gap.
  class Builder {
   public:
    // Adds rows top..bottom-1 holding the given spans; top must be >= the previous bottom.
    void AddBand(int top, int bottom, const Span* spans, int count);
    Region Finish();
    // Room for that many bands and spans, so that adding them does not reallocate.
    void Reserve(size_t bands, size_t spans) {
      bands_.reserve(bands);
      spans_.reserve(spans);
    }

   private:
    std::vector<Band> bands_;
    std::vector<Span> spans_;
    std::vector<Span> joined_;
  };

 private:
  void ComputeBounds();

  std::vector<Band> bands_;
  std::vector<Span> spans_;
  RectI bounds_;
};

// The polygon of a flat list x0, y0, x1, y1, ... whose last index is highIndex: it has
// (highIndex + 1) div 2 points, filled by the winding rule.
inline Region PolygonRegion(const int* points, int highIndex) {
  return Region::Polygon(points, (highIndex + 1) / 2);
}

}  // namespace kx
