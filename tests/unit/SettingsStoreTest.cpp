#include "platform/SettingsStore.h"

#include "platform/SettingsDate.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

namespace {
// Points the store at a temporary configuration folder for the test's lifetime.
class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", tree.Path().toLocal8Bit());
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", previous_); }
    TempTree tree;

private:
    QByteArray previous_;
};

TEST_F(SettingsStoreTest, OpeningForReadingDoesNotCreateTheKey) {
    EXPECT_EQ(SettingsStore::open(false), nullptr);
    EXPECT_TRUE(tree.Names().isEmpty());
    EXPECT_EQ(SettingsStore::location(), tree / "Jolvex/1.0.ini");
}

TEST_F(SettingsStoreTest, ValuesKeepTheirTypesAcrossOpenings) {
    {
        auto key = SettingsStore::open(true);
        ASSERT_NE(key, nullptr);
        key->writeDword("UpDate", 1);
        key->writeBinary("Date", encodeSettingsDate(QDate(2026, 12, 10)));
        key->writeString("DataPath", QString::fromUtf8("/opt/jolvex/数据"));
        EXPECT_TRUE(key->close());
    }
    auto key = SettingsStore::open(false);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->readDword("UpDate"), 1u);
    EXPECT_EQ(key->readBinary("Date"), QByteArray::fromHex("00000000c0a3e640"));
    EXPECT_EQ(key->readString("DataPath"), QString::fromUtf8("/opt/jolvex/数据"));
    EXPECT_FALSE(key->hasValue("Install"));
    EXPECT_EQ(key->readDword("Install"), std::nullopt);
}

// The typed values are written in the stored forms above, so that older copies read them, and
// a value stored in another form reads as absent.
TEST_F(SettingsStoreTest, TypedValuesUseTheStoredForms) {
    {
        auto key = SettingsStore::open(true);
        ASSERT_NE(key, nullptr);
        key->writeFlag("UpDate", true);
        key->writeFlag("Install", false);
        key->writeDate("Date", QDate(2026, 12, 10));
        key->writePath("DataPath", QString::fromUtf8("/opt/jolvex/数据"));
        key->writeString("Odd", "not a date");
        EXPECT_TRUE(key->close());
    }
    auto key = SettingsStore::open(false);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->readDword("UpDate"), 1u);
    EXPECT_EQ(key->readDword("Install"), 0u);
    EXPECT_EQ(key->readBinary("Date"), QByteArray::fromHex("00000000c0a3e640"));
    EXPECT_EQ(key->readString("DataPath"), QString::fromUtf8("/opt/jolvex/数据"));

    EXPECT_EQ(key->readFlag("UpDate"), true);
    EXPECT_EQ(key->readFlag("Install"), false);
    EXPECT_EQ(key->readFlag("Missing"), std::nullopt);
    EXPECT_EQ(key->readDate("Date"), QDate(2026, 12, 10));
    EXPECT_EQ(key->readDate("Odd"), std::nullopt);
    EXPECT_EQ(key->readPath("DataPath"), QString::fromUtf8("/opt/jolvex/数据"));
}

TEST(RegistryDate, DaysSinceTheEndOf1899AsALittleEndianDouble) {
    EXPECT_EQ(encodeSettingsDate(QDate(2000, 1, 1)), QByteArray::fromHex("00000000c0d5e140"));
    EXPECT_EQ(encodeSettingsDate(QDate(1899, 12, 30)), QByteArray(8, '\0'));
    EXPECT_EQ(decodeSettingsDate(QByteArray::fromHex("00000000c0a3e640")), QDate(2026, 12, 10));
    EXPECT_FALSE(decodeSettingsDate("short").isValid());
}
} // namespace
