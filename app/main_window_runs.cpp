// The main window's run handlers: conversion, normalization and the output
// format configuration.
#include "app/main_window.h"

struct Tfm_main::Runs {};

void Tfm_main::RunsDeleter::operator()(Runs* runs) const { delete runs; }

void Tfm_main::CreateRuns() { runs_.reset(new Runs); }

void Tfm_main::RunConversion() {}
void Tfm_main::RunNormalization() {}
void Tfm_main::ConfigureOutputFormat() {}
void Tfm_main::Timer1Timer() {}
