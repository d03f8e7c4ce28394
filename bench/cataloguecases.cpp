// The catalogue: filling the tree in each kind (until it is laid out and
// painted) and the two sermon counts the status bar shows.

#include "benchcase.h"

#include "models/database.h"
#include "views/treeview.h"

#include <QStandardItemModel>

namespace {

int childCount(const TreeView &aTree)
{
    const QStandardItemModel *vpModel = aTree.itemModel();
    int vnCount = 0;
    for (int vnRow = 0; vnRow < vpModel->rowCount(); ++vnRow)
        vnCount += vpModel->item(vnRow)->rowCount();
    return vnCount;
}

// The fill must list every row its count reports.
std::function<QString()> expectItems(BenchContext &aContext, bool abDuplicates)
{
    return [&aContext, abDuplicates] {
        Database *vpDatabase = aContext.database();
        const int vnExpected = abDuplicates ? vpDatabase->currentLanguageSermonsCount()
                                            : vpDatabase->currentLanguageSermonsCountDist();
        const int vnItems = childCount(*aContext.tree());
        if (vnExpected <= 0 || vnItems != vnExpected)
            return QStringLiteral("%1 sermon items, %2 sermons").arg(vnItems).arg(vnExpected);
        return QString();
    };
}

std::function<QString()> expectChapters(BenchContext &aContext)
{
    return [&aContext] {
        const int vnChapters = childCount(*aContext.tree());
        return vnChapters > 0 ? QString()
                              : QStringLiteral("%1 books, no chapters")
                                    .arg(aContext.tree()->itemModel()->rowCount());
    };
}

std::function<QString()> expectCount(std::function<int()> aCount)
{
    return [aCount] {
        const int vnCount = aCount();
        return vnCount > 0 ? QString() : QStringLiteral("count %1").arg(vnCount);
    };
}

} // namespace

void addCatalogueCases(BenchContext &aContext, BenchCases &acCases)
{
    BenchContext *vpContext = &aContext;
    auto vFill = [vpContext](void (Database::*apFill)()) {
        return [vpContext, apFill] {
            (vpContext->database()->*apFill)();
            BenchContext::settle();
        };
    };
    auto vReopen = [vpContext] { vpContext->reopenDatabase(); };

    acCases.append({QStringLiteral("tree by year"),
                    vFill(&Database::setByYear),
                    {},
                    expectItems(aContext, true)});
    acCases.append({QStringLiteral("tree by year without duplicates"),
                    vFill(&Database::setByYearDist),
                    {},
                    expectItems(aContext, false)});
    acCases.append({QStringLiteral("tree by name"),
                    vFill(&Database::setByName),
                    {},
                    expectItems(aContext, true)});
    acCases.append({QStringLiteral("tree by name without duplicates"),
                    vFill(&Database::setByNameDist),
                    {},
                    expectItems(aContext, false)});
    acCases.append(
        {QStringLiteral("tree bible"), vFill(&Database::setBible), {}, expectChapters(aContext)});
    // The first fill after a start, as the window shows it: the connection's
    // page cache is empty.
    acCases.append({QStringLiteral("tree by year after opening"), vFill(&Database::setByYear),
                    vReopen, expectItems(aContext, true)});
    acCases.append({QStringLiteral("tree bible after opening"), vFill(&Database::setBible), vReopen,
                    expectChapters(aContext)});

    auto vCount = [vpContext] { return vpContext->database()->currentLanguageSermonsCount(); };
    auto vCountDist = [vpContext] {
        return vpContext->database()->currentLanguageSermonsCountDist();
    };
    acCases.append(
        {QStringLiteral("count sermons"), [vCount] { vCount(); }, {}, expectCount(vCount)});
    acCases.append({QStringLiteral("count sermons without duplicates"),
                    [vCountDist] { vCountDist(); },
                    {},
                    expectCount(vCountDist)});
}
