#pragma once
// The head unit with its four screens, offscreen, on faked platform services.

#include "app/frontend.h"
#include "screens/Unit1.h"
#include "screens/Unit2.h"
#include "screens/Unit3.h"
#include "screens/Unit5.h"
#include "support/core_fixture.h"

namespace zelktest {

// The one QApplication of a test program with screens (offscreen).
void ensureGuiApp();

class ScreensTest : public CoreTest
{
protected:
    static void SetUpTestSuite() { ensureGuiApp(); }

    void start(std::shared_ptr<Downloader> downloader = nullptr) override
    {
        ui.reset();
        CoreTest::start(downloader);
        ui = std::make_unique<Frontend>(*unit);
        f1 = ui->Form1;
        f2 = ui->Form2;
        f3 = ui->Form3;
        f5 = ui->Form5;
    }
    void TearDown() override
    {
        ui.reset();
        unit.reset();
    }

    std::unique_ptr<Frontend> ui;
    TForm1* f1 = nullptr;
    TForm2* f2 = nullptr;
    TForm3* f3 = nullptr;
    TForm5* f5 = nullptr;
};

} // namespace zelktest
