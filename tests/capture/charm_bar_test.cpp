// The charm bar is known by its automation id.
#include <gtest/gtest.h>

#include "capture/charm_bar.h"

TEST(CharmBar, MatchesTheTextInAnyCaseAnywhereInTheId) {
    struct Case {
        std::u16string_view id;
        bool match;
    };
    const Case cases[] = {
        {u"Charm Bar", true},
        {u"charm bar", true},
        {u"CHARM BAR", true},
        {u"cHaRm bAr", true},
        {u"Windows Charm Bar Host", true},
        {u"Charm Bar Charm Bar", true},
        {u"CharmBar", false},
        {u"Charm  Bar", false},
        {u"Charm Ba", false},
        {u"", false},
        {u"Ch\u00e1rm Bar", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id.size());
        EXPECT_EQ(sc::isCharmBarId(c.id), c.match);
    }
}
