#include "app/Startup.h"

int main(int argc, char** argv)
{
    return veldra::runVeldra(argc, argv);
}
