// The register program: one copy per register, started from its program folder.
#include "app/Main.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    return Main(app);
}
