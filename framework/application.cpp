#include "application.h"

#include <commctrl.h>

Application::Application() {
    // The templates use the up-down and progress classes, which exist only
    // once registered.
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_UPDOWN_CLASS | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
}

bool Application::PreTranslateMessage(MSG& message) {
    return !runningDialogs.empty() && IsDialogMessageW(runningDialogs.back(), &message);
}

int runApplication(Application& application) {
    application.InitInstance();
    return 0;
}
