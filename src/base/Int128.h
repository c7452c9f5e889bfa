#pragma once

// Money arithmetic needs a product of two 64-bit values without overflow.
__extension__ typedef __int128 Int128;
