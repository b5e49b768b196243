#include "core/data_folder.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace quorvella {
namespace {

TEST(DataFolder, IsTheExecutablesFolderWithATrailingSeparator) {
    const QString folder = applicationFolder();
    EXPECT_TRUE(folder.endsWith(QLatin1Char('/')));
    EXPECT_TRUE(QFileInfo(folder + QStringLiteral("core_tests")).isExecutable())
        << folder.toStdString();
}

TEST(DataFolder, JoinsRelativePathsWithEitherSeparator) {
    const DataFolder folder(QStringLiteral("/opt/q"));
    EXPECT_EQ(folder.root(), QStringLiteral("/opt/q/"));
    EXPECT_EQ(folder.path(u"textindex.txt"), QStringLiteral("/opt/q/textindex.txt"));
    EXPECT_EQ(folder.path(u"dat\\kwdc1.txt"), QStringLiteral("/opt/q/dat/kwdc1.txt"));
    EXPECT_EQ(DataFolder(QStringLiteral("/opt/q/")).path(u"help/help.htm"),
              QStringLiteral("/opt/q/help/help.htm"));
}

} // namespace
} // namespace quorvella
