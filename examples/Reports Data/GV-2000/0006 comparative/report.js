// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-2000",
  reportNumber: 6,
  reportType: "RT_COMPARATIVE",
  dateTime: "2025-02-20 11:42:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Before", "After"],
  rows: [
    ["Carat weight", "1.65 ct", "1.34 ct"],
    ["Colour grade", "F", "E"],
    ["Clarity grade", "VVS1", "IF"],
    ["Table", "55 %", "57 %"],
    ["Total depth", "64.0 %", "61.5 %"]
  ]
};
