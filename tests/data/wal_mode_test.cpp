// A WAL-mode table file that its writer closed cleanly holds every committed
// page itself: it reads without a lock and without making a -wal or -shm file.
#include "receipt_fixture.h"

namespace uriage::data::testing {
namespace {

const Receipt kOne = {"'2005-03-01'", "2005", "3", "1", "1000", "300", "0", "1300"};

TEST_F(DataTest, CleanlyClosedWalFileReadsWithoutMakingAFile)
{
    ReceiptDirectory dir;
    dir.write({kOne}, QString::fromUtf8(kReceiptSchema), "PRAGMA journal_mode=WAL");
    ASSERT_FALSE(QFile::exists(dir.tablePath() + "-shm"));
    QFile main(dir.tablePath());
    ASSERT_TRUE(main.open(QIODevice::ReadOnly));
    const QByteArray mainBefore = main.readAll();
    main.close();

    Query query("Query1", QueryKind::Monthly);
    query.setDatabaseName(dir.path());
    query.open();
    EXPECT_EQ(readRows(query), QStringList{"2005|3|1|1000|300|0|1300"});
    ASSERT_TRUE(main.open(QIODevice::ReadOnly));
    EXPECT_EQ(main.readAll(), mainBefore);
    EXPECT_FALSE(QFile::exists(dir.tablePath() + "-shm")) << "no file is made in the data directory";
    EXPECT_FALSE(QFile::exists(dir.tablePath() + "-wal"));
    EXPECT_EQ(query.lastLockMilliseconds(), 0.0) << "no lock taken";
    EXPECT_EQ(query.lastCopyTries(), 1);
}

} // namespace
} // namespace uriage::data::testing
