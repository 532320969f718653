#include <cstdio>

int main() {
    std::puts("pibo: the program window is not built yet");
    return 0;
}
