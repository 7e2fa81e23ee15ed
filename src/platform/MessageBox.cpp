#include "platform/MessageBox.h"

#include <SDL.h>
#include <cstdio>

void ShowErrorBox(const char* caption, const char* text) {
    std::fprintf(stderr, "%s%s%s", caption, *caption ? ": " : "", text);
    size_t length = SDL_strlen(text);
    if (length == 0 || text[length - 1] != '\n') std::fputc('\n', stderr);
    std::fflush(stderr);
    // With no display this fails at once and the program goes on as after OK.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr);
}
