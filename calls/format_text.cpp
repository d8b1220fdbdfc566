// Formatters of text output and fonts.
#include "calls/format_support.h"

// Translated in full by a later change; until then these types print as untranslated.
int FormatSmallTextOut(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatExtTextOut(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
int FormatCreateFont(RecordView record, WideText& args) {
    return FormatPlaceholder(record, args);
}
