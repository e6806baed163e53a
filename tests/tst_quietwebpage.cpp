#include "testsupport.h"

#include "qwebpagewithoutjswarning.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

struct SeenBox {
    bool seen = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    bool hasParent = true;
};

// Waits for the modal message box, records it and closes it, by Ok or by
// the window's close control.
void closeBoxSoon(SeenBox* seen, bool byOk)
{
    QTimer::singleShot(50, [seen, byOk] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            closeBoxSoon(seen, byOk);
            return;
        }
        seen->seen = true;
        seen->title = box->windowTitle();
        seen->text = box->text();
        seen->icon = box->icon();
        seen->buttons = box->standardButtons();
        seen->hasParent = box->parentWidget() != nullptr;
        if (byOk)
            box->button(QMessageBox::Ok)->click();
        else
            box->close();
    });
}

}

class TestQuietWebPage : public QObject {
    Q_OBJECT

private slots:
    void interruptsAfterOneCriticalMessage_data();
    void interruptsAfterOneCriticalMessage();
};

void TestQuietWebPage::interruptsAfterOneCriticalMessage_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("byOk");
    QTest::newRow("ok") << QString("Pictavo") << true;
    QTest::newRow("close control") << QString("Pictavo") << false;
    QTest::newRow("empty title") << QString() << true;
}

void TestQuietWebPage::interruptsAfterOneCriticalMessage()
{
    QFETCH(QString, title);
    QFETCH(bool, byOk);
    QObject owner;
    auto* page = new QWebPageWithoutJsWarning(&owner, title);
    QCOMPARE(page->parent(), &owner);

    SeenBox seen;
    closeBoxSoon(&seen, byOk);
    QVERIFY(page->shouldInterruptJavaScript());
    QVERIFY(seen.seen);
    QCOMPARE(seen.title, title);
    QCOMPARE(seen.text, QString("The generation script to have a problem. "));
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(!seen.hasParent);
}

PICTAVO_TEST_MAIN(TestQuietWebPage)
#include "tst_quietwebpage.moc"
