#include "curves/Schemes.h"
#include "model/Scene.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

// The one table of the schemes: keys read back, every row names its own
// scheme's curve, and no two rows share a word that identifies them.
TEST(SchemesTest, KeysAndRowsIdentifyTheSchemes)
{
    Scene scene;
    std::set<std::string> keys, names, titles, boxes;
    for (int scheme = Schemes::None; scheme <= Schemes::count; ++scheme) {
        const Schemes::Row &row = Schemes::row(scheme);
        EXPECT_EQ(Schemes::ofKey(row.key), scheme);
        keys.insert(row.key);
        names.insert(row.name);
        titles.insert(row.title);
        boxes.insert(row.compareBox);
        if (Schemes::isScheme(scheme)) {
            EXPECT_EQ(scene.curve(scheme).scheme(), scheme) << "the scene's curve list in the table's order";
        }
    }
    EXPECT_EQ(keys.size() + names.size() + titles.size() + boxes.size(), 4u * (Schemes::count + 1));
    EXPECT_EQ(Schemes::ofKey("spline"), -1);
    EXPECT_EQ(Schemes::ofKey(""), -1);
    EXPECT_FALSE(Schemes::isScheme(Schemes::None));
    EXPECT_FALSE(Schemes::isScheme(Schemes::count + 1));
    EXPECT_STREQ(Schemes::row(-3).key, "none") << "numbers outside the table give row 0";
}
