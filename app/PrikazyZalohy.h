#pragma once

struct StartOptions;

/** `vitrana --backup FILE`: writes a backup of the configured hotel database; gives the exit status. */
int prikazZalohy(const StartOptions &options);
/** `vitrana --restore FILE`: restores the configured hotel database from a backup; gives the exit status. */
int prikazObnovy(const StartOptions &options);
