#include "app/startup.h"

int main(int argc, char** argv)
{
    return brisma::app::runProgram(argc, argv);
}
