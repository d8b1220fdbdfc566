#include "reports/sequence_alignment.h"

#include <new>

namespace {

// The edit distance a middle snake is searched to; beyond it the furthest point reached forward
// splits the stretch instead, so that files that differ throughout are still aligned in time
// linear in their lengths, by a script that is short but no longer the shortest.
constexpr int64_t kCostLimit = 512;

class Aligner {
  public:
    Aligner(std::span<const uint64_t> a, std::span<const uint64_t> b) : a_(a), b_(b) {
        const size_t most = (a.size() + b.size() + 1) / 2 + 1;
        forward_.assign(2 * most + 1, 0);
        backward_.assign(2 * most + 1, 0);
        offset_ = static_cast<int64_t>(most);
    }

    void Align(int64_t a0, int64_t a1, int64_t b0, int64_t b1) {
        // Common ends first: most comparisons of related files end here.
        int64_t same = 0;
        while (a0 + same < a1 && b0 + same < b1 && a_[a0 + same] == b_[b0 + same]) {
            ++same;
        }
        Emit(AlignedKind::kSame, a0, b0, same);
        a0 += same;
        b0 += same;
        int64_t tail = 0;
        while (a1 - tail > a0 && b1 - tail > b0 && a_[a1 - tail - 1] == b_[b1 - tail - 1]) {
            ++tail;
        }
        a1 -= tail;
        b1 -= tail;
        if (a0 == a1) {
            Emit(AlignedKind::kAdded, a0, b0, b1 - b0);
        } else if (b0 == b1) {
            Emit(AlignedKind::kRemoved, a0, b0, a1 - a0);
        } else {
            int64_t x, y, u, v;
            MiddleSnake(a0, a1, b0, b1, &x, &y, &u, &v);
            Align(a0, x, b0, y);
            Emit(AlignedKind::kSame, x, y, u - x);
            Align(u, a1, v, b1);
        }
        Emit(AlignedKind::kSame, a1, b1, tail);
    }

    std::vector<AlignedRun> runs;

  private:
    // The middle snake of the shortest edit script between a[a0, a1) and b[b0, b1), both not
    // empty and differing at both ends: from (x, y) to (u, v) in the sequences' positions.
    void MiddleSnake(int64_t a0, int64_t a1, int64_t b0, int64_t b1, int64_t* x_out, int64_t* y_out,
                     int64_t* u_out, int64_t* v_out) {
        const int64_t n = a1 - a0, m = b1 - b0, delta = n - m;
        const bool odd = (delta & 1) != 0;
        const int64_t most = (n + m + 1) / 2;
        int64_t* f = forward_.data() + offset_;
        int64_t* r = backward_.data() + offset_;
        f[1] = 0;
        r[1] = 0;
        for (int64_t d = 0; d <= most; ++d) {
            for (int64_t k = -d; k <= d; k += 2) {
                int64_t x = (k == -d || (k != d && f[k - 1] < f[k + 1])) ? f[k + 1] : f[k - 1] + 1;
                int64_t y = x - k;
                const int64_t x0 = x, y0 = y;
                while (x < n && y < m && a_[a0 + x] == b_[b0 + y]) {
                    ++x;
                    ++y;
                }
                f[k] = x;
                const int64_t back = delta - k;
                if (odd && back >= -(d - 1) && back <= d - 1 && f[k] + r[back] >= n) {
                    *x_out = a0 + x0;
                    *y_out = b0 + y0;
                    *u_out = a0 + x;
                    *v_out = b0 + y;
                    return;
                }
            }
            for (int64_t k = -d; k <= d; k += 2) {
                int64_t x = (k == -d || (k != d && r[k - 1] < r[k + 1])) ? r[k + 1] : r[k - 1] + 1;
                int64_t y = x - k;
                const int64_t x0 = x, y0 = y;
                while (x < n && y < m && a_[a1 - 1 - x] == b_[b1 - 1 - y]) {
                    ++x;
                    ++y;
                }
                r[k] = x;
                const int64_t ahead = delta - k;
                if (!odd && ahead >= -d && ahead <= d && r[k] + f[ahead] >= n) {
                    *x_out = a1 - x;
                    *y_out = b1 - y;
                    *u_out = a1 - x0;
                    *v_out = b1 - y0;
                    return;
                }
            }
            if (d >= kCostLimit) {
                int64_t best_x = 0, best_y = 0;
                for (int64_t k = -d; k <= d; k += 2) {
                    const int64_t x = f[k] < n ? f[k] : n;
                    const int64_t y = x - k;
                    if (y >= 0 && y <= m && x + y > best_x + best_y) {
                        best_x = x, best_y = y;
                    }
                }
                *x_out = *u_out = a0 + best_x;
                *y_out = *v_out = b0 + best_y;
                return;
            }
        }
        // Not reached: an edit script of at most n + m steps always exists.
        *x_out = *u_out = a0;
        *y_out = *v_out = b0;
    }

    void Emit(AlignedKind kind, int64_t a, int64_t b, int64_t length) {
        if (length <= 0) {
            return;
        }
        if (!runs.empty() && runs.back().kind == kind) {
            runs.back().length += static_cast<int32_t>(length);
            return;
        }
        // An added run met by a removed one: the removed goes first.
        if (kind == AlignedKind::kRemoved && !runs.empty() &&
            runs.back().kind == AlignedKind::kAdded) {
            AlignedRun added = runs.back();
            runs.pop_back();
            Emit(kind, a, b - added.length, length);
            added.first = static_cast<int32_t>(a + length);
            runs.push_back(added);
            return;
        }
        runs.push_back(AlignedRun{kind, static_cast<int32_t>(a), static_cast<int32_t>(b),
                                  static_cast<int32_t>(length)});
    }

    std::span<const uint64_t> a_;
    std::span<const uint64_t> b_;
    std::vector<int64_t> forward_;
    std::vector<int64_t> backward_;
    int64_t offset_ = 0;
};

}  // namespace

std::vector<AlignedRun> AlignSequences(std::span<const uint64_t> first,
                                       std::span<const uint64_t> second, bool* ok) {
    try {
        Aligner aligner(first, second);
        aligner.Align(0, static_cast<int64_t>(first.size()), 0,
                      static_cast<int64_t>(second.size()));
        if (ok != nullptr) {
            *ok = true;
        }
        return std::move(aligner.runs);
    } catch (const std::bad_alloc&) {
        if (ok != nullptr) {
            *ok = false;
        }
        return {};
    }
}
