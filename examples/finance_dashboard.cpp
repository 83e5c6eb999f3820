// A stock chart: a year of simulated daily prices as candlesticks with a 20-day moving average, a
// Bollinger band and volume bars, and MACD, RSI and slow stochastic panels beneath. Thirty days of
// earlier prices only prime the moving windows.
#include <plotvane/plotvane.h>

using namespace plotvane;

int main() {
    const int history = 30;
    FinanceSimulator* data = FinanceSimulator::create(7, Chart::chartTime(2023, 11, 1), Chart::chartTime(2025, 1, 1),
                                                      86400);
    FinanceChart* c = FinanceChart::create(720);
    c->addTitle("Simulated stock, daily", "bold", 12);
    c->setData(data->getTimeStamps(), data->getHighData(), data->getLowData(), data->getOpenData(),
               data->getCloseData(), data->getVolData(), history);

    c->addMainChart(260);
    c->addCandleStick(0x33aa33, 0xdd3333);
    c->addSimpleMovingAvg(20, 0x2266cc);
    c->addBollingerBand(20, 2, 0x9999ff, 0x409999ff);
    c->addVolBars(70, 0x9933aa33, 0x99dd3333, 0x99888888);
    c->addMACD(90, 12, 26, 9, 0x0000ff, 0xff00ff, 0x008800);
    c->addRSI(80, 14, 0x800080, 20, 0xff6666, 0x6666ff);
    c->addSlowStochastic(80, 14, 3, 0x006060, 0x606000);

    c->makeChart("finance_dashboard.png");
    c->makeChart("finance_dashboard.svg");
    c->makeChart("finance_dashboard.pdf");
    c->destroy();
    data->destroy();
    return 0;
}
