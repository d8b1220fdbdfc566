// Formatters of block transfers, DIB stretches and pattern brushes.
#include "calls/format_support.h"

// Translated in full by a later change; until then these types print as untranslated.
int FormatBitBlt(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatStretchBlt(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatMaskBlt(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatPlgBlt(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatStretchDIBits(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatMonoBrush(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatDIBPatternBrushPt(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
