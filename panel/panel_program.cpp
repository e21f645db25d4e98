#include "panel_program.h"

#include "panel_app.h"

int runPanelProgram(const WaitPrecision::TimerCalls& timer) {
    const WaitPrecision precision(timer);
    PanelApp app;
    return runApplication(app);
}
