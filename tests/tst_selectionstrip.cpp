#include "testsupport.h"

#include "constants.h"
#include "folders.h"
#include "mainwindow.h"
#include "pageloadwaiter.h"
#include "qlistwidgetdclicked.h"
#include "ui_mainwindow.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QWebElement>
#include <QWebFrame>

namespace {

QListWidgetDClicked* glyphList(MainWindow& window, int panel = 0)
{
    QLayoutItem* item = window.ui->verticalLayout_Fonts->itemAt(panel + 1);
    return item && item->widget() ? item->widget()->findChild<QListWidgetDClicked*>() : nullptr;
}

// The cell of Font Awesome's U+F000 + offset: its panel starts at U+F000.
QListWidgetItem* cell(MainWindow& window, int offset)
{
    return glyphList(window)->item(offset);
}

QString cellStyle(MainWindow& window, int offset)
{
    return qobject_cast<QLabel*>(glyphList(window)->madeItemWidget(cell(window, offset)))->styleSheet();
}

QString glyph(uint code)
{
    return QString::fromUcs4(&code, 1);
}

// The strip in layout order, newest first.
QStringList strip(MainWindow& window)
{
    QStringList texts;
    for (int i = 0; i < window.selectedIconsLayout->count() - 1; ++i)
        texts << qobject_cast<QPushButton*>(window.selectedIconsLayout->itemAt(i)->widget())->text();
    return texts;
}

QPushButton* button(MainWindow& window, uint code)
{
    for (QPushButton* b : window.selectedIconsBox->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (b->text() == glyph(code))
            return b;
    }
    return nullptr;
}

// The glyph of the one button with the current look.
QString current(MainWindow& window)
{
    QStringList found;
    for (QPushButton* b : window.selectedIconsBox->findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (b->styleSheet().startsWith(QLatin1String("QPushButton[SpecField=\"true\"]{border: 2px")))
            found << b->text();
        else if (!b->styleSheet().startsWith(QLatin1String("QPushButton::hover[SpecField=\"true\"]{border: 1px")))
            return QStringLiteral("unstyled");
    }
    return found.size() == 1 ? found.first() : QStringLiteral("%1 current").arg(found.size());
}

}

class TestSelectionStrip : public QObject {
    Q_OBJECT
private slots:
    void selectAndDeselect();
    void earliestBecomesCurrent();
    void lastGlyphRemoved();
    void previewFollowsAtOnce();
    void realClicks();
    void saveShortcutSurvivesRelabelling();
    void glyphsOfRemovedUserPanelStay();
};

void TestSelectionStrip::selectAndDeselect()
{
    MainWindow window;
    QPushButton* save = window.ui->pushButton_SaveImages;
    QVERIFY(window.defaultSymbolInUse);
    window.RefreshButtonSaveIcons();
    QVERIFY(save->isEnabled());
    QCOMPARE(save->text(), QStringLiteral("Save Icon"));

    window.Symbols_itemClicked(cell(window, 0));
    QCOMPARE(save->text(), QStringLiteral("Save Icon"));
    window.Symbols_itemClicked(cell(window, 1));
    window.Symbols_itemClicked(cell(window, 2));
    QCOMPARE(save->text(), QStringLiteral("Save 3 Icons"));
    QCOMPARE(strip(window), QStringList({glyph(0xf002), glyph(0xf001), glyph(0xf000)}));
    QCOMPARE(current(window), glyph(0xf002));
    QCOMPARE(window.currentSymbol, glyph(0xf002));
    QCOMPARE(window.currentFont.family(), QStringLiteral("FontAwesome"));
    QVERIFY(!window.defaultSymbolInUse);
    QCOMPARE(cellStyle(window, 1), ORANGE_BORDER_2PX);
    QCOMPARE(button(window, 0xf001)->size(), QSize(60, 40));

    window.Symbols_itemClicked(cell(window, 1));
    QCOMPARE(strip(window), QStringList({glyph(0xf002), glyph(0xf000)}));
    QCOMPARE(cell(window, 1)->data(Qt::UserRole).toULongLong(), 0ull);
    QCOMPARE(cellStyle(window, 1), ORANGE_BORDER_1PX);
    QCOMPARE(save->text(), QStringLiteral("Save 2 Icons"));
}

void TestSelectionStrip::earliestBecomesCurrent()
{
    MainWindow window;
    for (int i : {0, 1, 2, 3})
        window.Symbols_itemClicked(cell(window, i));
    // Removing the current D makes the earliest-added A current, not C.
    window.Symbols_itemClicked(cell(window, 3));
    QCOMPARE(current(window), glyph(0xf000));
    // So does removing B while C is current.
    button(window, 0xf002)->click();
    window.Symbols_itemClicked(cell(window, 1));
    QCOMPARE(current(window), glyph(0xf000));
    // The close button of A: C, the earliest left.
    button(window, 0xf000)->findChild<QPushButton*>()->click();
    QCOMPARE(strip(window), QStringList({glyph(0xf002)}));
    QCOMPARE(current(window), glyph(0xf002));
    QCOMPARE(cell(window, 0)->data(Qt::UserRole).toULongLong(), 0ull);
    QCOMPARE(cellStyle(window, 0), ORANGE_BORDER_1PX);
}

void TestSelectionStrip::lastGlyphRemoved()
{
    MainWindow window;
    window.Symbols_itemClicked(cell(window, 5));
    button(window, 0xf005)->findChild<QPushButton*>()->click();
    QCOMPARE(window.selectedIconsLayout->count(), 1);
    QVERIFY(window.selectedIconsBox->findChildren<QPushButton*>().isEmpty());
    QCOMPARE(window.currentSymbol, glyph(0xf005));
    QVERIFY(!window.defaultSymbolInUse);
    QVERIFY(!window.ui->pushButton_SaveImages->isEnabled());
    QCOMPARE(window.ui->pushButton_SaveImages->text(), QStringLiteral("Save Icon"));
}

void TestSelectionStrip::previewFollowsAtOnce()
{
    MainWindow window;
    PageLoadWaiter waiter(window.ui->webView);
    const auto shown = [&] {
        return window.ui->webView->page()->mainFrame()->findFirstElement(QStringLiteral("#bg span")).toPlainText();
    };
    waiter.expectLoad();
    window.Symbols_itemClicked(cell(window, 3));
    QVERIFY(!window.refreshTimer.isActive());
    QVERIFY(waiter.wait());
    QCOMPARE(shown(), glyph(0xf003));

    window.Symbols_itemClicked(cell(window, 4));
    waiter.expectLoad();
    button(window, 0xf003)->click();
    QVERIFY(waiter.wait());
    QCOMPARE(shown(), glyph(0xf003));
    // Clicking the current button again reloads the preview.
    waiter.expectLoad();
    button(window, 0xf003)->click();
    QVERIFY(waiter.wait());
}

void TestSelectionStrip::realClicks()
{
    // Generous, so that a slow machine still sees a double click as one.
    QApplication::setDoubleClickInterval(1000);
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QListWidget* list = glyphList(window);
    const QPoint a = list->visualItemRect(list->item(7)).center();
    const QPoint b = list->visualItemRect(list->item(8)).center();

    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, a);
    QCOMPARE(strip(window), QStringList({glyph(0xf007)}));
    // A double click selects once, and another deselects once.
    for (const QStringList& expected : {QStringList({glyph(0xf008), glyph(0xf007)}), QStringList({glyph(0xf007)})}) {
        QTest::qWait(1100);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, b);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, b);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, b);
        QCOMPARE(strip(window), expected);
    }
}

void TestSelectionStrip::saveShortcutSurvivesRelabelling()
{
    MainWindow window;
    QPushButton* save = window.ui->pushButton_SaveImages;
    // Count presses without opening the save dialog.
    QVERIFY(QObject::disconnect(save, SIGNAL(clicked()), &window, SLOT(on_pushButton_SaveImages_clicked())));
    QSignalSpy pressed(save, &QPushButton::clicked);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    for (int i : {0, 1, 2})
        window.Symbols_itemClicked(cell(window, i));
    QCOMPARE(save->text(), QStringLiteral("Save 3 Icons"));
    QTest::keySequence(&window, QKeySequence(QKeySequence::Save));
    QTRY_COMPARE(pressed.count(), 1);  // the button animates the click
}

void TestSelectionStrip::glyphsOfRemovedUserPanelStay()
{
    const QString data = getApplicationSettingsPath();
    QVERIFY(QDir().mkpath(data));
    QFile::copy(getResourcesPath() + QStringLiteral("/fonts/forkawesome-webfont.ttf"), data + QStringLiteral("/fork.ttf"));
    QFile config(data + QStringLiteral("/fork.json"));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write("{\"name\": \"Fork\", \"font\": \"fork.ttf\", \"templates\": \"0xf000-0xf001\"}");
    config.close();

    MainWindow window;
    QListWidgetDClicked* userList = glyphList(window, 5);
    QVERIFY(userList);
    window.Symbols_itemClicked(userList->item(1));
    window.Symbols_itemClicked(cell(window, 0));
    userList->parentWidget()->findChild<QPushButton*>()->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!glyphList(window, 5));

    // Its glyph stays in the strip, can be made current and removed.
    QPushButton* orphan = button(window, 0xf001);
    QCOMPARE(orphan->findChild<QPushButton*>()->property("item").toULongLong(), 0ull);
    orphan->click();
    QCOMPARE(window.currentFont.family(), QStringLiteral("forkawesome"));
    orphan->findChild<QPushButton*>()->click();
    QCOMPARE(strip(window), QStringList({glyph(0xf000)}));
    QCOMPARE(current(window), glyph(0xf000));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

PICTAVO_TEST_MAIN(TestSelectionStrip)
#include "tst_selectionstrip.moc"
