// The program's entry: one copy per logon, seven windows, one message loop.
#include "app/application.h"
#include "app/error_box.h"
#include "platform/platform_start.h"
#include "platform/window_system.h"
#include "app/program_icon.h"
#include "app/toolkit_translation.h"
#include "app/window_set.h"
#include "data/engine.h"
#include "windows/engine_busy_cursor.h"
#include "windows/fonts.h"
#include "windows/Unit1.h"
#include "windows/handler_dispatch.h"
#include "windows/window_rules.h"

int main(int argc, char** argv)
{
    // A second copy asks the first one's main menu to come forward and ends
    // before it creates anything of its own.
    if (!uriage::platform::holdInstanceGuard()) {
        uriage::platform::bringFirstCopyForward();
        return 0;
    }

    uriage::Application app(argc, argv);
    uriage::installToolkitTranslation();
    uriage::installFontSubstitutes();
    QApplication::setWindowIcon(uriage::programIcon());

    {
        // Made here and started only at the first filter press.
        uriage::data::EngineOptions engineOptions;
        engineOptions.busy = uriage::engineBusyCursor();
        uriage::data::Engine engine(std::move(engineOptions));
        uriage::WindowSet windows(engine);
        uriage::setErrorDisplay(
            [owner = windows.owner()](const QString& message) { uriage::showErrorBox(message, owner); });
        uriage::setExpectedFrame(uriage::platform::frameExtentsBeforeMapping(Form1));
        uriage::showMainWindow(Form1, uriage::platform::initialShowRequest());
        uriage::runMessageLoop(Form1);
        uriage::setErrorDisplay({});
    }
    return 0;
}
