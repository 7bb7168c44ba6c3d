// statind: the program the suite starts ("OPER|0|left|top|PRODUCT") or a user starts by hand.
#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  return 0;
}
