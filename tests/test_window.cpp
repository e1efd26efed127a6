// test_window.cpp: the real window on the offscreen platform: its pixels and its wiring.
#include "form1.h"
#include "form_view.h"
#include "game.h"
#include "game_window.h"
#include "qt_runtime.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace forms;
using namespace front::qt;

namespace {

const QColor kLightGrey(0xE0, 0xE0, 0xE0);
const QColor kBlack(0, 0, 0);

using Window = GameWindow;

QColor at(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setStyle(QStringLiteral("Fusion")); }

    void theWindowIsFixedAtItsLaidOutSize() {
        Window window;
        QCOMPARE(window.view.size(), QSize(485, 357));
        QCOMPARE(window.view.minimumSize(), window.view.maximumSize());
        QCOMPARE(window.view.windowTitle(), QString("ヨポ"));
        const Qt::WindowFlags flags = window.view.windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(!window.view.windowIcon().isNull());
    }

    void theTubIsDrawnPixelExact() {
        Window window;
        const QImage image = window.picture();
        QCOMPARE(at(image, 2, 2), kWhite);
        // The front rim: brown, three pixels thick around row 200, from x 24 to 296.
        for (int y : {199, 200, 201}) {
            QCOMPARE(at(image, 150, y), kBrown);
        }
        QCOMPARE(at(image, 150, 198), kWhite);
        QCOMPARE(at(image, 150, 202), kWhite);
        // The front left edge around column 24.
        for (int x : {23, 24, 25}) {
            QCOMPARE(at(image, x, 260), kBrown);
        }
        // The thin inner back left edge at column 56.
        QCOMPARE(at(image, 56, 260), kBlack);
        QCOMPARE(at(image, 57, 260), kWhite);
    }

    void theWaterStartsAsAStripUnderTheFrontFloorEdge() {
        Window window;
        const QImage image = window.picture();
        // Row 336: under the brown edge up to x 297; past the tub's corner
        // the white cover Line1 hides most of the rest, but not its last pixels.
        QCOMPARE(at(image, 150, 336), kBrown);
        QCOMPARE(at(image, 327, 336), kWater);
        QCOMPARE(at(image, 328, 336), kWater);
        QCOMPARE(at(image, 327, 335), kWhite);
        QCOMPARE(at(image, 327, 337), kWhite);
        QCOMPARE(at(image, 329, 336), kWhite);
    }

    void theBalloonOpensWhereTheTailJoins() {
        Window window;
        const QImage image = window.picture();
        QCOMPARE(at(image, 328, 60), kBlack);  // the balloon's right border
        QCOMPARE(at(image, 328, 96), kWhite);  // the gap Line5 opens
        QCOMPARE(at(image, 340, 92), kBlack);  // the tail's upper side
        QCOMPARE(at(image, 150, 24), kBlack);  // the top border
        QCOMPARE(at(image, 150, 128), kBlack); // the bottom border
    }

    void theTapIsGreyUnderItsOutline() {
        Window window;
        const QImage image = window.picture();
        QCOMPARE(at(image, 40, 160), kBlack);     // pipe, upper side
        QCOMPARE(at(image, 40, 164), kLightGrey); // inside the pipe
        QCOMPARE(at(image, 40, 168), kBlack);     // pipe, lower side
        QCOMPARE(at(image, 76, 172), kLightGrey); // inside the spout
        QCOMPARE(at(image, 76, 176), kBlack);     // the mouth
    }

    void thePicturesStandAtTheirPlaces() {
        Window window;
        const QImage image = window.picture();
        // Each picture is drawn over its control's rectangle, and is exactly its size.
        const auto sizeOf = [&](const char* name) {
            const Rect& rect = dynamic_cast<const Image&>(*window.form.find(name)).rect();
            return QSize(toPixels(rect.width), toPixels(rect.height));
        };
        QImage portrait(":/assets/portrait.jpg");
        QCOMPARE(portrait.size(), QSize(99, 131));
        QCOMPARE(portrait.size(), sizeOf("Image1"));
        // Its corner pixel, where nothing else is drawn.
        QCOMPARE(at(image, 368 + 50, 8 + 130), portrait.pixelColor(50, 130));
        QImage word(":/assets/yopo-word.gif");
        QCOMPARE(word.size(), QSize(56, 27));
        QCOMPARE(word.size(), sizeOf("Image2"));
    }

    void theGreetingIsWrittenInTheBalloon() {
        Window window;
        const QImage image = window.picture();
        int inked = 0;
        for (int y = 40; y < 52; ++y) {
            for (int x = 40; x < 40 + 17 * 12; ++x) {
                inked += image.pixelColor(x, y).lightness() < 128;
            }
        }
        QVERIFY2(inked > 100, qPrintable(QString::number(inked)));
        // The label is as wide as its 17 full-width characters at 12 pixels each.
        QCOMPARE(window.form.Lbl_msg.rect().width, 17 * 180.0f);
        QCOMPARE(window.form.Lbl_msg.rect().height, 180.0f);
    }

    void aMessageIsRedrawnWhenItsWordsOrFontChange() {
        Window window;
        Label& message = window.form.Lbl_msg;
        // What the message's area should hold: its lines written straight onto
        // the balloon's white, each one em below the last.
        const auto expected = [&] {
            const QRect area(toPixels(message.rect().left), toPixels(message.rect().top),
                             toPixels(message.rect().width), toPixels(message.rect().height));
            QImage image(area.size(), QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            const QFont font = FormView::formFont(message.fontSize(), message.fontBold());
            const QFontMetricsF metrics(font);
            const int em = fontPixels(message.fontSize());
            painter.setFont(font);
            painter.setPen(Qt::black);
            int row = 0;
            for (const QString& line : QString::fromStdString(message.caption()).split("\r\n")) {
                const double baseline =
                    em * metrics.ascent() / (metrics.ascent() + metrics.descent());
                painter.drawText(QPointF(0, row++ * em + baseline), line);
            }
            painter.end();
            return std::pair(area, image);
        };
        const auto shown = [&](const QRect& area) {
            return window.picture().copy(area).convertToFormat(QImage::Format_RGB32);
        };
        auto [greeting, greetingWords] = expected();
        QCOMPARE(shown(greeting), greetingWords);
        message.setCaption("湯を沸かし始めました。");
        auto [heating, heatingWords] = expected();
        QCOMPARE(shown(heating), heatingWords);
        message.setFontSize(15);
        message.setFontBold(true);
        message.setCaption("熱い！早く止めろ！！\r\nもう70度だぞ！！");
        auto [alarm, alarmWords] = expected();
        QCOMPARE(alarm.height(), 40);
        QCOMPARE(shown(alarm), alarmWords);
        message.setFontSize(9);
        message.setFontBold(false);
        auto [plain, plainWords] = expected();
        QCOMPARE(shown(plain), plainWords);
    }

    void theButtonsAreRealAndInTabOrder() {
        Window window;
        QPushButton* run = window.button(window.form.Command1);
        QPushButton* heat = window.button(window.form.Command2);
        QPushButton* next = window.button(window.form.Command3);
        QCOMPARE(run->text(), QString("水を入れる"));
        QCOMPARE(run->geometry(), QRect(377, 240, 81, 25));
        QCOMPARE(heat->geometry(), QRect(377, 288, 81, 25));
        QCOMPARE(next->geometry(), QRect(264, 104, 41, 17));
        QVERIFY(next->isHidden());
        QCOMPARE(run->nextInFocusChain(), heat);
        QCOMPARE(window.view.focusWidget(), run);
    }

    void clickingTheTapDrawsTheStream() {
        Window window;
        QCOMPARE(at(window.picture(), 76, 250), kWhite);
        QTest::mouseClick(window.button(window.form.Command1), Qt::LeftButton);
        QCOMPARE(window.game.state().Phase, 1);
        const QImage image = window.picture();
        QCOMPARE(at(image, 76, 250), kWater);
        QCOMPARE(at(image, 77, 250), kWater);
        QCOMPARE(window.button(window.form.Command1)->text(), QString("水を止める"));
        QVERIFY(!window.button(window.form.Command2)->isEnabled());
        // The water now stands 9 pixels deep from the back floor edge.
        QCOMPARE(at(image, 310, 330), kWater);
    }

    void timerTicksReachTheGame() {
        Window window;
        window.form.Timer1.setInterval(20);
        window.form.Timer1.setEnabled(true);
        // Phase 0 ticks do nothing, so tap first: each tick raises the water.
        window.game.Command1_Click();
        window.form.Timer1.setInterval(20);
        QTRY_VERIFY_WITH_TIMEOUT(window.form.Shp_water.height() >= 145.0f, 2000);
    }

    void theLastIntervalATickWritesGovernsTheNextWait() {
        struct Rewriting : FormEvents {
            Form1* form = nullptr;
            int ticks = 0;
            void load() override {}
            void click(const CommandButton&) override {}
            void tick(const Timer&) override {
                ++ticks;
                form->Timer1.setInterval(3000); // overwritten before the tick ends
                form->Timer1.setInterval(20);
            }
        } rewriting;
        Form1 form;
        rewriting.form = &form;
        FormView view(form);
        QtRuntime runtime(form, rewriting, view);
        runtime.start();
        form.Timer1.setInterval(20);
        form.Timer1.setEnabled(true);
        QTRY_VERIFY_WITH_TIMEOUT(rewriting.ticks >= 5, 2000);
    }

    void theShakeMovesTheWindowAndBack() {
        Window window;
        const QPoint home = window.view.pos();
        window.game.ShakeStep(0x0000FF);
        QCOMPARE(window.view.pos(), home - QPoint(7, 0));
        QCOMPARE(at(window.picture(), 2, 2), kWhite);
        window.game.ShakeStep(0x0000FF);
        QCOMPARE(window.view.pos(), home);
        QCOMPARE(at(window.picture(), 2, 2), QColor(255, 0, 0));
        QCOMPARE(window.view.size(), QSize(485, 357));
    }

    void aRunTimeErrorIsReportedAndNothingRunsAfterIt() {
        // Handlers that fail on their first click, as a refused property would.
        struct Failing : FormEvents {
            Form1* form = nullptr;
            int clicks = 0;
            void load() override {}
            void click(const CommandButton&) override {
                ++clicks;
                form->Shp_water.setHeight(-5);
            }
            void tick(const Timer&) override {}
        } failing;
        Form1 form;
        failing.form = &form;
        FormView view(form);
        QtRuntime runtime(form, failing, view);
        runtime.start();
        QTest::mouseClick(view.button(form.Command1), Qt::LeftButton);
        QVERIFY(runtime.error().has_value());
        auto* box = view.findChild<QMessageBox*>("runTimeError");
        QVERIFY(box != nullptr);
        QVERIFY(box->text().contains("380"));
        QVERIFY(box->text().contains("Shp_water.Height"));
        QTest::mouseClick(view.button(form.Command1), Qt::LeftButton);
        QCOMPARE(failing.clicks, 1);
        box->accept();
    }
};

QTEST_MAIN(WindowTest)
#include "test_window.moc"
