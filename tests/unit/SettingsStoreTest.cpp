#include "platform/SettingsStore.h"

#include "app/RegistryDate.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

namespace {
// Points the store at a temporary configuration folder for the test's lifetime.
class SettingsStore : public ::testing::Test {
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

TEST_F(SettingsStore, OpeningForReadingDoesNotCreateTheKey) {
    EXPECT_EQ(SettingsKey::Open(false), nullptr);
    EXPECT_TRUE(tree.Names().isEmpty());
    EXPECT_EQ(SettingsKey::Location(), tree / "Jolvex/1.0.ini");
}

TEST_F(SettingsStore, ValuesKeepTheirTypesAcrossOpenings) {
    {
        auto key = SettingsKey::Open(true);
        ASSERT_NE(key, nullptr);
        key->WriteDword("UpDate", 1);
        key->WriteBinary("Date", EncodeRegistryDate(QDate(2026, 12, 10)));
        key->WriteString("DataPath", QString::fromUtf8("/opt/jolvex/数据"));
        EXPECT_TRUE(key->Close());
    }
    auto key = SettingsKey::Open(false);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->ReadDword("UpDate"), 1u);
    EXPECT_EQ(key->ReadBinary("Date"), QByteArray::fromHex("00000000c0a3e640"));
    EXPECT_EQ(key->ReadString("DataPath"), QString::fromUtf8("/opt/jolvex/数据"));
    EXPECT_FALSE(key->HasValue("Install"));
    EXPECT_EQ(key->ReadDword("Install"), std::nullopt);
}

TEST(RegistryDate, DaysSinceTheEndOf1899AsALittleEndianDouble) {
    EXPECT_EQ(EncodeRegistryDate(QDate(2000, 1, 1)), QByteArray::fromHex("00000000c0d5e140"));
    EXPECT_EQ(EncodeRegistryDate(QDate(1899, 12, 30)), QByteArray(8, '\0'));
    EXPECT_EQ(DecodeRegistryDate(QByteArray::fromHex("00000000c0a3e640")), QDate(2026, 12, 10));
    EXPECT_FALSE(DecodeRegistryDate("short").isValid());
}
} // namespace
