// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-2000",
  reportNumber: 3,
  reportType: "RT_COMPARATIVE",
  dateTime: "2025-01-24 09:51:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Before", "After"],
  rows: [
    ["Carat weight", "1.98 ct", "1.67 ct"],
    ["Colour grade", "H", "G"],
    ["Clarity grade", "VS2", "VS1"],
    ["Table", "58 %", "59 %"],
    ["Total depth", "64.5 %", "61.5 %"]
  ]
};
