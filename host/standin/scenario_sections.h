// The scenario sections about derivatives clients and the timed steps (see
// host/README.md), read after the market sections.
#pragma once

class ScenarioFile;
class StandInHost;

// [AccountN], [LimitN], [PositionN] and [GeneratedClients].
void LoadClientSections(const ScenarioFile& file, StandInHost& host);
// [StepN], played in the order of their At times.
void LoadSteps(const ScenarioFile& file, StandInHost& host);
