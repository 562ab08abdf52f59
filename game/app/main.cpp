#include <cstdio>

int main() {
    std::fprintf(stderr, "Velmora cannot start yet: the game's start-up is not built.\n");
    return 1;
}
