#pragma once

struct StartOptions;

/** `vitrana --backup FILE`: writes a backup of the configured hotel database; gives the exit status. */
int prikazZalohy(const StartOptions &options);
/** `vitrana --restore FILE`: restores the configured hotel database from a backup; gives the exit status. */
int prikazObnovy(const StartOptions &options);
/**
 * `vitrana --ubyport FILE`: writes the file for the police's Ubyport of every
 * foreign guest not reported yet (none marked reported: the police must
 * accept it first); gives the exit status.
 */
int prikazUbyport(const StartOptions &options);
