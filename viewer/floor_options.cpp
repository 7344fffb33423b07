#include "viewer/floor_options.h"

FloorForm::FloorForm(ViewerState& state, Shell& shell)
    : state(state), shell(shell), saved(state.Floor)
{
    Show(saved);
}

void FloorForm::Show(const FloorGeometry& floor)
{
    dzdx = ShowNumber(floor.dzdx);
    dzdy = ShowNumber(floor.dzdy);
    z0 = ShowNumber(floor.z0);
    numSteps = ShowInteger(floor.NumSteps);
    min = ShowNumber(floor.min);
    max = ShowNumber(floor.max);
    clamp = floor.clamp != 0;
}

std::optional<DialogNotice> FloorForm::Apply()
{
    FloorGeometry floor = state.Floor;
    floor.clamp = clamp ? 1 : 0;
    FieldReader reader;
    reader.Number(max, floor.max, int(FloorField::Max));
    reader.Number(min, floor.min, int(FloorField::Min));
    reader.Number(z0, floor.z0, int(FloorField::Z0));
    int steps = 0;
    reader.Integer(numSteps, steps, int(FloorField::NumSteps), 0, 1000000);
    floor.NumSteps = steps;
    reader.Number(dzdx, floor.dzdx, int(FloorField::Dzdx));
    reader.Number(dzdy, floor.dzdy, int(FloorField::Dzdy));
    if (reader.failure)
        return reader.failure;
    state.Floor = floor;
    VarnelSetFloor(floor);
    shell.Repaint();
    return std::nullopt;
}

std::optional<DialogNotice> FloorForm::DefaultFloor()
{
    Show(FloorGeometry{});
    return Apply();
}

std::optional<DialogNotice> FloorForm::Ok()
{
    return Apply();
}

void FloorForm::Restore()
{
    state.Floor = saved;
    VarnelSetFloor(saved);
    shell.Repaint();
}

void RunFloorGeometry(ViewerState& state, Shell& shell)
{
    FloorForm form(state, shell);
    if (!shell.RunFloorGeometry(form))
        form.Restore();
}
