// quorvella: the study aid's entry point.

#include "app/start_up.h"

int main(int argc, char** argv) {
    return quorvella::runQuorvella(argc, argv);
}
