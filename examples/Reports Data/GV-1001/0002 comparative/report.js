// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-1001",
  reportNumber: 2,
  reportType: "RT_COMPARATIVE",
  dateTime: "2026-02-03 14:40:51",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Before", "After"],
  rows: [
    ["Carat weight", "2.27 ct", "1.96 ct"],
    ["Colour grade", "D", "H"],
    ["Clarity grade", "SI1", "VS2"],
    ["Table", "59 %", "60 %"],
    ["Total depth", "63.0 %", "62.0 %"]
  ]
};
