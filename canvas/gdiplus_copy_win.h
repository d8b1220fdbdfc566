// The document as GDI+ plays it: the guarded copy with its EMF+ records guarded too, as a GDI+
// metafile, and the steps its enumeration hands on, each with the document record it stands for.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "document/metafile_document.h"

// One record the enumeration hands on: a GDI record (place -1) or an EMF+ record of a comment.
struct GdiPlusStep {
    int32_t record;
    int32_t place;
    uint32_t type;
    // For a GDI record that draws a curve: its box's width plus height in the reference
    // device's units, as the graphics state before it maps the box, or the largest float for
    // a box too large in logical units; else 0.
    float curve = 0;
};

struct GdiPlusCopy {
    GdiPlusCopy() = default;
    ~GdiPlusCopy();
    GdiPlusCopy(const GdiPlusCopy&) = delete;
    GdiPlusCopy& operator=(const GdiPlusCopy&) = delete;

    const MetafileDocument* document = nullptr;
    uint32_t serial = 0;
    // The GDI+ metafile (a Gdiplus::GpMetafile), freed with the copy.
    void* metafile = nullptr;
    std::vector<GdiPlusStep> steps;
    // The header's frame in the reference device's units, which the destination rectangle
    // scales: a curve's size on the surface is its `curve` times the destination's size over it.
    double frame_width = 0;
    double frame_height = 0;
};

// How many times the reference device's units a playback into `destination_width` x
// `destination_height` pixels draws each unit at: the larger of the two scales, 1 without a
// frame.
double DestinationScale(const GdiPlusCopy& copy, int destination_width, int destination_height);

// The copy of the loaded `document`, made once per load and shared: a playback holds its own
// reference, so that a reload cannot free the metafile under a paused enumeration. nullptr when
// GDI+ cannot be had or the copy cannot be made.
std::shared_ptr<const GdiPlusCopy> GdiPlusCopyOf(const MetafileDocument& document);
// A copy of its own, for a playback that keeps its enumeration paused: GDI+ keeps an
// enumeration's state in the metafile.
std::shared_ptr<const GdiPlusCopy> MakeGdiPlusCopy(const MetafileDocument& document);
// Drops the kept copy; playbacks that hold it keep theirs.
void ForgetGdiPlusCopy();

// Follows an enumeration through the steps: each record the enumeration hands on is the next
// step of its type. A record no step stands for leaves it where it was.
class GdiPlusStepMatcher {
  public:
    explicit GdiPlusStepMatcher(const GdiPlusCopy& copy) : copy_(copy) {}
    // The step the enumeration's record of `type` stands for.
    void Match(uint32_t type);
    int32_t record() const { return record_; }
    int32_t place() const { return place_; }
    // The curve the step draws, as GdiPlusStep::curve.
    float curve() const { return curve_; }

  private:
    const GdiPlusCopy& copy_;
    size_t next_ = 0;
    int32_t record_ = 0;
    int32_t place_ = -1;
    float curve_ = 0;
};
