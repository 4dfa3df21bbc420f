// Entry point of the intro: everything happens in the intro module.
#include "intro.h"

int main()
{
   return intro::intromain();
}
END_OF_MAIN()
