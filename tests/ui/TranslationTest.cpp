// The window in Simplified Chinese, chosen by the locale (the suite runs with LANG=zh_CN.UTF-8).
#include "UiTestSupport.h"
#include "ui/Translations.h"

#include <QApplication>
#include <QLocale>
#include <QPushButton>
#include <QTest>

using folivane::ui::ScriptedDialogs;
using namespace folivane::ui::test;

class TranslationTest : public QObject {
    Q_OBJECT

private slots:
    void englishIsTheSourceAndNeedsNone() {
        QVERIFY(!folivane::ui::InstallTranslations(*qApp, QLocale(QLocale::English)));
        ScriptedDialogs dialogs;
        const auto form = MakeForm(dialogs);
        QCOMPARE(form->windowTitle(), QStringLiteral("Quorvel Folivane Converter V1.0"));
    }

    void chineseLocaleTranslatesTheWindowAndItsMessages() {
        QCOMPARE(QLocale::system().name(), QStringLiteral("zh_CN"));
        QVERIFY(folivane::ui::InstallTranslations(*qApp, QLocale::system()));
        ScriptedDialogs dialogs;
        const auto form = MakeForm(dialogs);
        QCOMPARE(form->windowTitle(), QString::fromUtf8("Quorvel Folivane 文本转电子书 V1.0"));
        QTest::mouseClick(Find<QPushButton>(*form, "m_del"), Qt::LeftButton);
        QCOMPARE(dialogs.Messages().size(), 1);
        QCOMPARE(dialogs.Messages().constFirst().text, QString::fromUtf8("请先选择文件！"));
    }
};

QTEST_MAIN(TranslationTest)
#include "TranslationTest.moc"
