// yopo-assetgen OUTDIR: draws the game's three pictures and writes them into
// OUTDIR. The output depends only on this source (and the JPEG library), so
// rerunning it reproduces the committed files.

#include "assets.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    // Everything is painted into QImages, which needs no GUI application and so
    // no display or platform plugin; the JPEG writer plugin loads regardless.
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        err << "usage: yopo-assetgen OUTDIR\n";
        return 2;
    }
    const QString problem = assetgen::writeAll(args.at(1));
    if (!problem.isEmpty()) {
        err << "yopo-assetgen: " << problem << '\n';
        return 1;
    }
    return 0;
}
