// test_forms.cpp: the forms model and the screenless runtime that drives it.
#include "form1.h"
#include "headless_runtime.h"

#include <QTest>

#include <functional>
#include <string>
#include <vector>

using namespace forms;
using front::headless::HeadlessRuntime;

namespace {

// Hears every change, in order, as "name.Property".
class Recorder : public FormObserver {
public:
    std::vector<std::string> heard;
    void controlChanged(const Control& control, Property property) override {
        heard.push_back(control.name() + "." + std::to_string(static_cast<int>(property)));
    }
    void formChanged(Property property) override {
        heard.push_back("Form." + std::to_string(static_cast<int>(property)));
    }
};

// Handlers that the test writes as it goes.
class Script : public FormEvents {
public:
    std::function<void()> onLoad = [] {};
    std::function<void(const CommandButton&)> onClick = [](const CommandButton&) {};
    std::function<void(const Timer&)> onTick = [](const Timer&) {};
    std::vector<long long> tickTimes;
    const HeadlessRuntime* runtime = nullptr;

    void load() override { onLoad(); }
    void click(const CommandButton& button) override { onClick(button); }
    void tick(const Timer& timer) override {
        tickTimes.push_back(runtime->clock());
        onTick(timer);
    }
};

// Form1 run by handlers the test writes, on the virtual clock.
struct Scripted {
    Form1 form;
    Script script;
    HeadlessRuntime runtime{form, script};
    Scripted() { script.runtime = &runtime; }
};

std::string tag(const Control& control, Property property) {
    return control.name() + "." + std::to_string(static_cast<int>(property));
}

} // namespace

class FormsTest : public QObject {
    Q_OBJECT

private slots:
    void form1HoldsItsControlsInOverlapOrder() {
        Form1 form;
        std::string order;
        for (const auto& control : form.controls()) {
            order += control->name() + " ";
        }
        QCOMPARE(order,
                 std::string("Command3 Timer1 Command2 Command1 Line2 Line3 Line_water Line18 "
                             "Line10 Line8 Line7 Line6 Shape4 Shape3 Shape2 Line4 Lbl_msg Line5 "
                             "Shape1 Image2 Line21 Line20 Line1 Line16 Line15 Line14 Line13 "
                             "Line12 Line11 Line9 Label1 Image1 Line17 Line19 Line0 Shp_water "));
        QCOMPARE(form.Shp_water.name(), std::string("Shp_water"));
        QCOMPARE(form.Line0.borderWidth(), 8);
        QCOMPARE(form.caption(), std::string("ヨポ"));
    }

    void everyChangeIsHeardAtOnceAndInOrder() {
        Form1 form;
        Recorder recorder;
        form.addObserver(&recorder);
        form.Lbl_msg.setFontSize(15);
        form.Shp_water.setHeight(135);
        form.Timer1.setEnabled(true);
        form.setBackColor(255);
        const std::vector<std::string> expected = {
            tag(form.Lbl_msg, Property::FontSize), tag(form.Shp_water, Property::Height),
            tag(form.Timer1, Property::Enabled),
            "Form." + std::to_string(int(Property::BackColor))};
        QCOMPARE(recorder.heard, expected);
        form.removeObserver(&recorder);
    }

    void refusedValuesAreRunTimeErrorsNamingTheOperation() {
        Form1 form;
        try {
            form.Shp_water.setHeight(-1);
            QFAIL("a negative height was taken");
        } catch (const RunTimeError& error) {
            QCOMPARE(error.number(), ErrorNumber::InvalidPropertyValue);
            QCOMPARE(error.where(), std::string("Shp_water.Height"));
        }
        QVERIFY_THROWS_EXCEPTION(RunTimeError, form.Timer1.setInterval(65536));
        QVERIFY_THROWS_EXCEPTION(RunTimeError, form.Lbl_msg.setFontSize(0));
        // A refused value leaves the old one.
        QCOMPARE(form.Shp_water.height(), 15.0f);
        QCOMPARE(form.Timer1.interval(), 6000);
    }

    void autoSizedLabelsFitTheirCaptionAndKeepTheirCorner() {
        Form1 form;
        Label& label = form.Lbl_msg;
        label.setCaption("水を入れています。");
        QCOMPARE(label.rect().width, 9 * 180.0f);
        QCOMPARE(label.rect().height, 180.0f);
        label.setCaption("大洪水です！！\r\n30年に一度の大洪水です！！");
        QCOMPARE(label.rect().width, 13 * 180.0f);
        QCOMPARE(label.rect().height, 360.0f);
        label.setFontSize(15);
        QCOMPARE(label.rect().height, 600.0f);
        QCOMPARE(label.rect().left, 600.0f);
        QCOMPARE(label.rect().top, 600.0f);
    }

    void theWindowLandsOnWholePixels() {
        Form1 form;
        form.windowStandsAt(10770, 5430);
        form.move(form.left() - 100, form.top());
        QCOMPARE(form.left(), 10665.0f);
        form.move(form.left() + 100, form.top());
        QCOMPARE(form.left(), 10770.0f);
        QCOMPARE(form.top(), 5430.0f);
    }

    void onlyAButtonThePlayerCanPressIsClicked() {
        Scripted s;
        auto& [form, script, runtime] = s;
        int clicks = 0;
        script.onClick = [&](const CommandButton&) { ++clicks; };
        runtime.start();
        QVERIFY(runtime.click(form.Command1));
        QVERIFY(!runtime.click(form.Command3)); // hidden
        form.Command1.setEnabled(false);
        QVERIFY(!runtime.click(form.Command1));
        QCOMPARE(clicks, 1);
    }

    void aRunTimeErrorStopsTheHandlerAndEverythingAfter() {
        Scripted s;
        Form1& form = s.form;
        Script& script = s.script;
        HeadlessRuntime& runtime = s.runtime;
        script.onClick = [&](const CommandButton&) {
            form.Timer1.setEnabled(true);
            form.Shp_water.setHeight(-5);
            form.Lbl_msg.setCaption("never");
        };
        runtime.start();
        runtime.click(form.Command1);
        QVERIFY(runtime.error().has_value());
        QCOMPARE(runtime.error()->where(), std::string("Shp_water.Height"));
        QVERIFY(form.Timer1.enabled()); // what was set before the error stays set
        QCOMPARE(form.Lbl_msg.caption(), std::string("Label2"));
        QVERIFY(!runtime.tick());
        QVERIFY(!runtime.click(form.Command2));
    }

    void anIntervalWrittenWhileRunningGovernsFromThen() {
        Scripted s;
        auto& [form, script, runtime] = s;
        runtime.start();
        form.Timer1.setEnabled(true);
        runtime.wait(4000);
        form.Timer1.setInterval(1500); // at 4000: next tick at 5500, not 6000
        runtime.wait(4000);
        QCOMPARE(script.tickTimes, (std::vector<long long>{5500, 7000}));
    }

    void theLastIntervalWrittenInATickCounts() {
        Scripted s;
        Form1& form = s.form;
        Script& script = s.script;
        HeadlessRuntime& runtime = s.runtime;
        script.onTick = [&](const Timer& timer) {
            form.Timer1.setInterval(3000);
            form.Timer1.setInterval(50);
            QCOMPARE(&timer, &form.Timer1);
        };
        runtime.start();
        form.Timer1.setEnabled(true);
        runtime.tick();
        runtime.tick();
        runtime.tick();
        QCOMPARE(script.tickTimes, (std::vector<long long>{6000, 6050, 6100}));
    }

    void aStoppedTimerOrAZeroIntervalNeverTicks() {
        Scripted s;
        auto& [form, script, runtime] = s;
        runtime.start();
        form.Timer1.setEnabled(true);
        form.Timer1.setEnabled(false);
        runtime.wait(60000);
        form.Timer1.setInterval(0);
        form.Timer1.setEnabled(true);
        runtime.wait(60000);
        QVERIFY(!runtime.tick());
        QVERIFY(script.tickTimes.empty());
        QCOMPARE(runtime.clock(), 120000);
    }
};

QTEST_GUILESS_MAIN(FormsTest)
#include "test_forms.moc"
