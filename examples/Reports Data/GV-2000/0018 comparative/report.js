// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-2000",
  reportNumber: 18,
  reportType: "RT_COMPARATIVE",
  dateTime: "2025-06-08 19:06:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Before", "After"],
  rows: [
    ["Carat weight", "1.53 ct", "1.22 ct"],
    ["Colour grade", "H", "G"],
    ["Clarity grade", "VVS1", "IF"],
    ["Table", "55 %", "59 %"],
    ["Total depth", "64.0 %", "61.5 %"]
  ]
};
