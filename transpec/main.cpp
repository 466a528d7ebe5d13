#include "TranspecApp.h"

int main(int argc, char **argv)
{
    return transpec::runTranspec(argc, argv);
}
