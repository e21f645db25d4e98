#include "line_settings_posix.h"

void makeRaw(termios& settings, speed_t speed, bool eightDataBits) {
    settings.c_iflag &=
        ~static_cast<tcflag_t>(BRKINT | INLCR | IGNCR | ICRNL | ISTRIP | PARMRK | IUCLC | IMAXBEL);
    settings.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    settings.c_lflag &=
        ~static_cast<tcflag_t>(ICANON | ECHO | ECHOE | ECHOK | ECHONL | ISIG | IEXTEN);
    settings.c_cflag |= CREAD;
    if (eightDataBits) settings.c_cflag = (settings.c_cflag & ~CSIZE) | CS8;
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    cfsetispeed(&settings, speed);
    cfsetospeed(&settings, speed);
}
