// Formatters of brushes, extended pens, palettes and colour spaces.
#include "calls/format_support.h"

// Translated in full by a later change; until then these types print as untranslated.
int FormatCreateBrushIndirect(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatExtCreatePen(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatCreatePalette(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatSelectPalette(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatICMMode(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatSetColorSpace(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatDeleteColorSpace(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
