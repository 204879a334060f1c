// Shows one message box and waits until it is killed: the picture of a box the end-to-end tests
// expect, to compare with the box the game shows. The X server offers no way to read a box's
// text, so its pixels are compared with those of a box made to say the expected text.
//
//     mnemira_reference_box critical|warning CAPTION TEXT
#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 4)
        return 2;
    const auto icon
        = args[1] == QLatin1String("warning") ? QMessageBox::Warning : QMessageBox::Critical;
    QMessageBox box(icon, args[2], args[3], QMessageBox::Ok);
    box.show();
    return QApplication::exec();
}
