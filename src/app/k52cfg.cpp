// K52CFG: the configuration tool's window program.
#include "app/ui/CK52CONApp.h"

int main(int argc, char** argv) {
    CK52CONApp application(argc, argv);
    return application.InitInstance();
}
