// Waits to be ended: the cheapest child a panel can have.
#include <unistd.h>

int main()
{
    for (;;)
        pause();
}
