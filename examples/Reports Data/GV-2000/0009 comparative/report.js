// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-2000",
  reportNumber: 9,
  reportType: "RT_COMPARATIVE",
  dateTime: "2025-03-19 13:33:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Before", "After"],
  rows: [
    ["Carat weight", "1.32 ct", "1.01 ct"],
    ["Colour grade", "D", "H"],
    ["Clarity grade", "VS2", "VS1"],
    ["Table", "58 %", "60 %"],
    ["Total depth", "63.5 %", "61.5 %"]
  ]
};
