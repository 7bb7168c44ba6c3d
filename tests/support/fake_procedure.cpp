// Stands in for another program of the suite in the tests: it runs, doing nothing, until it is
// ended.
#include <unistd.h>

int main() {
  for (;;) pause();
}
