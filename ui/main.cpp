#include "ui/simulator_app.h"

int main(int argc, char** argv) {
    CSimulatorApp app(argc, argv);
    return app.Run();
}
