#pragma once

// Shows the system's wait cursor. The window system puts the normal pointer
// back at its next cursor update once the running handler has returned.
void showWaitCursor();
