#include "game/app/ProgramEntry.h"

int main(int argc, char** argv) {
    return programMain(argc, argv);
}
