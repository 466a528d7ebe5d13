#include "transpec/gui/TranspecApp.h"

int main(int argc, char **argv)
{
    return lumen::transpec::runTranspec(argc, argv);
}
