// The directory-path test of a database name, walked in CP932 characters, and
// where a drive path lies: under the Wine prefix on Linux, as it stands on
// Windows.
#include "receipt_fixture.h"

#include "common/cp932.h"
#include "data/database_path.h"

namespace uriage::data::testing {
namespace {

TEST(DirectoryPathTest, SeparatorsCountOnlyOutsideDoubleByteCharacters)
{
    const struct {
        QByteArray name;
        bool directory;
    } cases[] = {
        {"C:\\Zelmora", true},
        {"Zelmora", false},
        {"data:", true},
        {"\\\\server\\share", true},
        {"", false},
        {"\x95\x5c", false},                 // 表: its second byte is "\"
        {"\x95\x5c\x8e\x5c", false},         // 表 and a lead byte taking "\" along
        {"\x95\x5c\\", true},                // 表 then a real separator
        {"abc\x95", false},                  // a lead byte as the last byte stands alone
        {"\x95", false},
        {"\x81\x40:", true},                 // full-width blank, then ":"
        {"\xb1\\", true},                    // half-width katakana is one byte
    };
    for (const auto& c : cases)
        EXPECT_EQ(isDirectoryPath(c.name), c.directory) << c.name.toHex().toStdString();
    EXPECT_TRUE(isDirectoryPath(QString("/tmp/receipts")));
    EXPECT_FALSE(isDirectoryPath(QString("表")));
}

#ifdef Q_OS_WIN
// Windows itself knows its drives, both separators and letter case.
TEST_F(DataTest, DrivePathsAreOpenedAsTheyStand)
{
    ReceiptDirectory dir;
    dir.write({{"'2005-03-01'", "2005", "3", "1", "1000", "300", "0", "1300"}});
    const QString native = QDir::toNativeSeparators(dir.path());
    EXPECT_EQ(nativeDirectory(native, DriveRoots{QStringLiteral("C:/wine")}), native);
    for (const QString& name : {native, native.toUpper(), native + '\\', dir.path()})
        EXPECT_EQ(openedIn(engine, name, QueryKind::Monthly), "2005|3|1|1000|300|0|1300") << name.toStdString();
}
#else
TEST(DirectoryPathTest, DrivePathsLieUnderTheWinePrefix)
{
    QTemporaryDir prefix;
    ASSERT_TRUE(QDir(prefix.path()).mkpath("drive_c/Zelmora/表"));
    const DriveRoots roots{prefix.path()};
    const QString p = prefix.path();
    const struct {
        QString name;
        QString native;
    } cases[] = {
        {"C:\\Zelmora", p + "/drive_c/Zelmora"},
        {"c:\\zelmora\\", p + "/drive_c/Zelmora"},           // found without regard to letter case
        {"C:\\ZELMORA\\表", p + "/drive_c/Zelmora/表"},     // 表's "\" byte is no separator
        {"C:\\Missing\\x", p + "/drive_c/Missing/x"},
        {"D:\\data", p + "/dosdevices/d:/data"},
        {"C:", p + "/drive_c"},
        {p + "/drive_c/Zelmora", p + "/drive_c/Zelmora"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nativeDirectory(c.name, roots), c.native) << c.name.toStdString();
}

TEST(DirectoryPathTest, PrefixDefaultsToWineInTheHomeDirectory)
{
    const QByteArray saved = qgetenv("WINEPREFIX");
    qunsetenv("WINEPREFIX");
    EXPECT_EQ(DriveRoots::fromEnvironment().winePrefix, QDir::homePath() + "/.wine");
    qputenv("WINEPREFIX", "/opt/practice");
    EXPECT_EQ(DriveRoots::fromEnvironment().winePrefix, "/opt/practice");
    if (saved.isNull())
        qunsetenv("WINEPREFIX");
    else
        qputenv("WINEPREFIX", saved);
}
#endif

} // namespace
} // namespace uriage::data::testing
