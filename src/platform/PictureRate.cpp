#include "platform/PictureRate.h"

int PictureRate::Valid(int rate) {
    switch (rate) {
    case VSync:
    case Classic:
    case 60:
    case 120:
    case 144:
    case Unlimited: return rate;
    default: return VSync;
    }
}
