#include "l10n/built_in_catalogs.h"

#include "support/qt_form1_fixture.h"
#include "support/status_messages.h"
#include "support/text_fit.h"

#include <QHeaderView>
#include <QTreeWidget>

#include <gtest/gtest.h>


namespace {

QString shown(std::u16string_view text)
{
    return QString::fromStdU16String(std::u16string(text));
}

// Every catalog: each window's texts at 100 % with the window's own font. The English texts are
// measured by the windows' own tests.
TEST(CaptionFit, EveryTextFitsItsControlInEveryLanguage)
{
    for (const std::string_view language : builtInLanguages()) {
        SCOPED_TRACE("language " + std::string(language));
        const Catalog catalog = builtInCatalog(language);
        QtForm1Fixture f;
        f.catalog = &catalog;
        f.make();
        f.showAndWait();
        textfit::expectAllFit(f.form.get());

        auto* const status = qobject_cast<QLabel*>(f.widget("Label6"));
        for (const std::u16string_view message : statusMessages())
            textfit::expectLabelFits(status, shown(catalog.text(message)));

        f.trigger("mnuAbout");
        ASSERT_NE(f.about(), nullptr);
        textfit::expectAllFit(f.about());

        f.trigger("mnuHistory");
        QWidget* const history = f.historyWindow();
        ASSERT_NE(history, nullptr);
        textfit::expectAllFit(history);
        auto* const count = history->findChild<QLabel*>(QStringLiteral("lblCount"));
        textfit::expectLabelFits(count, shown(longestCount(catalog)));
        auto* const list = history->findChild<QTreeWidget*>(QStringLiteral("lstHistory"));
        const QFontMetrics metrics(list->header()->font());
        for (int column = 0; column < list->columnCount(); ++column) {
            const QString heading = list->headerItem()->text(column);
            SCOPED_TRACE("heading " + heading.toStdString());
            EXPECT_LE(metrics.horizontalAdvance(heading) + 12, list->header()->sectionSize(column));
        }
        history->close();
        f.about()->close();
    }
}

}  // namespace
