#pragma once

#include <QString>
#include <functional>
#include <vector>

// A conversion of demo sources into files of the installation folder.
// `run` returns an error text, empty on success.
struct DemoStep {
  QString name;
  std::function<QString(const QString& sourceDir, const QString& installDir)> run;
};

std::vector<DemoStep>& DemoSteps();

struct DemoStepRegistrar {
  explicit DemoStepRegistrar(DemoStep step) { DemoSteps().push_back(std::move(step)); }
};
