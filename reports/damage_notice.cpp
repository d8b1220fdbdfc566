// The notice a damaged file gets.
#include "reports/damage_notice.h"

std::u16string DamageNotice(const MetafileDocument&) {
    return u"";
}
