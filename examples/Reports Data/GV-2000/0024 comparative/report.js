// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-2000",
  reportNumber: 24,
  reportType: "RT_COMPARATIVE",
  dateTime: "2025-08-01 22:48:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Before", "After"],
  rows: [
    ["Carat weight", "2.07 ct", "1.76 ct"],
    ["Colour grade", "D", "H"],
    ["Clarity grade", "VVS1", "IF"],
    ["Table", "55 %", "60 %"],
    ["Total depth", "63.0 %", "61.5 %"]
  ]
};
