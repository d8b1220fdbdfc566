// Formatters of regions and point lists.
#include "calls/format_support.h"

// Translated in full by a later change; until then these types print as untranslated.
int FormatExtSelectClipRgn(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatFillRgn(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatFrameRgn(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatInvertRgn(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatPaintRgn(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatPolyPoints(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatPolyPoints16(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatPolyPolyPoints16(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
